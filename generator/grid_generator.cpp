#include "grid_generator.h"

#include "candidate_board.h"
#include "fast_engine.h"

#include <algorithm>
#include <array>
#include <numeric>
#include <utility>

namespace kaleno::testing {

std::uint64_t Random::next()
{
    std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

int Random::below(int bound)
{
    return static_cast<int>(next() % static_cast<std::uint64_t>(bound));
}

namespace {

// Fisher-Yates over the first `count` items.
void shuffle(int *items, int count, Random &random)
{
    for (int i = count - 1; i > 0; --i)
        std::swap(items[i], items[random.below(i + 1)]);
}

std::array<int, CellCount> shuffledCells(Random &random)
{
    std::array<int, CellCount> cells {};
    std::iota(cells.begin(), cells.end(), 0);
    shuffle(cells.data(), CellCount, random);
    return cells;
}

// Per row, then column, then box: bit d for each digit d it holds.
constexpr int HouseCount = 3 * GridSize;
using DigitsOfHouses = std::array<std::uint16_t, HouseCount>;

// Fills the free cells of `grid` from `cell` on, each with the digits that fit in random
// order, backtracking as needed. A plain search of its own, so that the grids made from a seed
// stay the same whatever becomes of the engines under test. It recurses, one level a cell: at
// most 81 deep.
// NOLINTNEXTLINE(misc-no-recursion)
bool fillRandomly(Grid &grid, int cell, DigitsOfHouses &used, Random &random)
{
    if (cell == CellCount)
        return true;
    auto &row = used[rowOf(cell)];
    auto &column = used[GridSize + columnOf(cell)];
    auto &box = used[2 * GridSize + boxOf(cell)];
    std::array<int, GridSize> digits {};
    std::iota(digits.begin(), digits.end(), 1);
    shuffle(digits.data(), GridSize, random);
    for (const int digit : digits) {
        const auto bit = static_cast<std::uint16_t>(1u << digit);
        if ((row | column | box) & bit)
            continue;
        row |= bit;
        column |= bit;
        box |= bit;
        grid[cell] = static_cast<std::uint8_t>(digit);
        if (fillRandomly(grid, cell + 1, used, random))
            return true;
        row &= static_cast<std::uint16_t>(~bit);
        column &= static_cast<std::uint16_t>(~bit);
        box &= static_cast<std::uint16_t>(~bit);
    }
    grid[cell] = 0;
    return false;
}

} // namespace

Grid randomSolution(Random &random)
{
    Grid solution {};
    DigitsOfHouses used {};
    fillRandomly(solution, 0, used, random);
    return solution;
}

Grid sparseGrid(Random &random, int givens)
{
    const Grid solution = randomSolution(random);
    const auto cells = shuffledCells(random);
    Grid grid {};
    for (int i = 0; i < givens; ++i)
        grid[static_cast<std::size_t>(cells[static_cast<std::size_t>(i)])]
            = solution[static_cast<std::size_t>(cells[static_cast<std::size_t>(i)])];
    return grid;
}

namespace {

// Turns the given at `cell` into another digit that repeats nowhere and leaves no completion.
// False, with the grid as it was, when no digit does.
bool breakGiven(Grid &grid, int cell)
{
    const auto given = grid[static_cast<std::size_t>(cell)];
    for (int digit = 1; digit <= 9; ++digit) {
        grid[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(digit);
        if (digit != given && !hasRepeatedDigits(grid) && countCompletions(grid, 1) == 0)
            return true;
    }
    grid[static_cast<std::size_t>(cell)] = given;
    return false;
}

} // namespace

Grid denseGrid(Random &random, int blanks)
{
    Grid grid = randomSolution(random);
    for (int i = 0; i < blanks; ++i)
        grid[static_cast<std::size_t>(random.below(CellCount))] = 0;
    return grid;
}

Grid brokenGrid(Random &random, int blanks, int from)
{
    for (;;) {
        Grid grid = denseGrid(random, blanks);
        const int cell = from + random.below(CellCount - from);
        if (grid[static_cast<std::size_t>(cell)] != 0 && breakGiven(grid, cell))
            return grid;
    }
}

Grid uniqueGrid(Random &random)
{
    Grid grid = randomSolution(random);
    for (int cell : shuffledCells(random)) {
        const auto kept = grid[static_cast<std::size_t>(cell)];
        grid[static_cast<std::size_t>(cell)] = 0;
        if (countCompletions(grid, 2) != 1)
            grid[static_cast<std::size_t>(cell)] = kept;
    }
    return grid;
}

Grid unsolvableGrid(Random &random)
{
    for (;;) {
        Grid grid = uniqueGrid(random);
        for (int cell : shuffledCells(random)) {
            if (grid[static_cast<std::size_t>(cell)] != 0 && breakGiven(grid, cell))
                return grid;
        }
    }
}

Grid lateContradictionGrid(Random &random)
{
    // Givens are added to the bottom band one at a time, each kept only while propagation
    // sees no contradiction. The first one that leaves no completion at all ends the walk: at
    // that edge the contradiction takes a search to find. A completion found on the way saves
    // the search for every later given that agrees with it.
    for (;;) {
        Grid grid {};
        Grid witness = randomSolution(random);
        for (int step = 0; step < 200; ++step) {
            const int cell = 54 + random.below(27);
            if (grid[static_cast<std::size_t>(cell)] != 0)
                continue;
            const auto digit = static_cast<std::uint8_t>(1 + random.below(9));
            grid[static_cast<std::size_t>(cell)] = digit;
            CandidateBoard board;
            if (hasRepeatedDigits(grid) || !board.load(grid)) {
                grid[static_cast<std::size_t>(cell)] = 0;
                continue;
            }
            if (witness[static_cast<std::size_t>(cell)] != digit) {
                const SearchResult result = fastSolve(grid);
                if (result.end != SearchEnd::Completed)
                    return grid;
                witness = result.grid;
            }
        }
    }
}

Grid generatedGrid(GridKind kind, std::uint64_t seed)
{
    constexpr int MostSparseGivens = 20;
    Random random(seed);
    switch (kind) {
    case GridKind::Sparse:
        return sparseGrid(random, static_cast<int>(seed % (MostSparseGivens + 1)));
    case GridKind::Unique:
        return uniqueGrid(random);
    case GridKind::NoSolution:
        return unsolvableGrid(random);
    case GridKind::LateContradiction:
        return lateContradictionGrid(random);
    }
    return {};
}

std::vector<Grid> hardestGeneratedGrids()
{
    struct Found
    {
        GridKind kind;
        std::uint64_t seed;
    };
    static constexpr Found found[] = {
        {GridKind::Sparse, 200246},
        {GridKind::Sparse, 103474},
        {GridKind::Sparse, 22055},
        {GridKind::Sparse, 157023},
        {GridKind::LateContradiction, 4320},
        {GridKind::LateContradiction, 2749},
        {GridKind::LateContradiction, 4548},
        {GridKind::LateContradiction, 6435},
        {GridKind::Unique, 4023},
        {GridKind::Unique, 20712},
        {GridKind::NoSolution, 1487},
        {GridKind::NoSolution, 9107},
    };
    std::vector<Grid> grids;
    for (const Found &f : found)
        grids.push_back(generatedGrid(f.kind, f.seed));
    return grids;
}

std::vector<GridSet> generatedSets(std::uint64_t seed, int perSet)
{
    Random random(seed);
    std::vector<GridSet> sets;
    auto make = [&](std::string name, auto &&generate) {
        GridSet set {std::move(name), {}};
        for (int i = 0; i < perSet; ++i)
            set.grids.push_back(generate(i));
        sets.push_back(std::move(set));
    };
    make("sparse_0_20", [&](int i) { return sparseGrid(random, i % 21); });
    make("unique", [&](int) { return uniqueGrid(random); });
    make("no_solution", [&](int) { return unsolvableGrid(random); });
    make("late_contradiction", [&](int) { return lateContradictionGrid(random); });
    sets.push_back({"hardest_generated", hardestGeneratedGrids()});
    return sets;
}

} // namespace kaleno::testing
