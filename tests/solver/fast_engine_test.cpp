#include "candidate_board.h"
#include "digit_lanes.h"
#include "fast_engine.h"
#include "grid_generator.h"
#include "grids.h"
#include "reference_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kaleno {
namespace {

using namespace kaleno::testing;

std::string describe(const SearchResult &result)
{
    switch (result.end) {
    case SearchEnd::Completed:
        return gridText(result.grid);
    case SearchEnd::Exhausted:
        return "no solution";
    case SearchEnd::StepLimit:
        return "step limit";
    }
    return "?";
}

// The settings that send the engine down each of its roads. Tiny turns make the count and the
// row-major search swap every node or so, and a first look of one node hands grids with
// several completions to the descent, whose own looks then give up at once.
struct Road
{
    const char *name;
    SearchTurns turns;
};

const Road roads[] = {
    {"Defaults", {}},
    {"TurnsOfOne", {1, 1, 1, 1, 1}},
    {"Descent", {1, 1, 64, 1, 1}},
};

// The engine's builds that this processor runs: the baseline one always, the wide one where the
// program has it and the processor can run it.
std::vector<EnginePath> paths()
{
    if (runsWidePath())
        return {EnginePath::Baseline, EnginePath::Widest};
    return {EnginePath::Baseline};
}

const char *nameOf(EnginePath path)
{
    return path == EnginePath::Baseline ? "baseline" : "wide";
}

// Grids of one kind, made from a seed: the fast engine must give exactly what the reference
// search gives on every one the reference finishes within its bound, on every road.
struct Kind
{
    const char *name;
    int count;
    std::function<Grid(Random &, int)> make;
    int minimumCompared; // grids the reference must finish, or the kind tests too little
};

std::ostream &operator<<(std::ostream &out, const Kind &kind)
{
    return out << kind.name;
}

class FastEngineAgainstReference : public ::testing::TestWithParam<Kind>
{
};

TEST_P(FastEngineAgainstReference, GivesTheSameCompletionOrNone)
{
    constexpr std::uint64_t ReferenceBound = 100000;
    const Kind &kind = GetParam();
    Random random(20261206);
    int compared = 0;
    for (int i = 0; i < kind.count; ++i) {
        const Grid grid = kind.make(random, i);
        const SearchResult expected = referenceSolve(grid, ReferenceBound);
        if (expected.end == SearchEnd::StepLimit)
            continue;
        ++compared;
        for (const Road &road : roads) {
            for (const EnginePath path : paths()) {
                ASSERT_EQ(describe(fastSolve(grid, road.turns, path)), describe(expected))
                    << road.name << ", " << nameOf(path) << ", grid " << gridText(grid);
            }
        }
    }
    EXPECT_GE(compared, kind.minimumCompared);
}

INSTANTIATE_TEST_SUITE_P(Generated, FastEngineAgainstReference,
    ::testing::Values(
        // Many completions: the answer is the smallest, not merely one.
        Kind {"Sparse", 1500, [](Random &r, int i) { return sparseGrid(r, i % 21); }, 1350},
        Kind {"Dense", 2000, [](Random &r, int i) { return denseGrid(r, 20 + i % 41); }, 2000},
        Kind {"Unique", 150, [](Random &r, int) { return uniqueGrid(r); }, 100},
        Kind {"NoSolution", 1000, [](Random &r, int i) { return brokenGrid(r, 30 + i % 21, 0); },
            950},
        // The contradiction sits in the last rows: the row-major order meets it late.
        Kind {"NoSolutionLate", 600,
            [](Random &r, int i) { return brokenGrid(r, 30 + i % 21, 54); }, 550}),
    [](const auto &row) { return std::string(row.param.name); });

// Checks an answer by the definition of the result, for grids beyond the reach of the
// reference search: it completes the givens, and at each free cell in row-major order, with
// the cells before it as in the answer, no smaller digit leaves a completion.
::testing::AssertionResult isSmallestCompletion(const Grid &givens, const Grid &answer)
{
    if (!isSolvedGrid(answer))
        return ::testing::AssertionFailure() << "not a finished grid: " << gridText(answer);
    Grid prefix = givens;
    for (int cell = 0; cell < CellCount; ++cell) {
        const auto index = static_cast<std::size_t>(cell);
        if (givens[index] != 0) {
            if (answer[index] != givens[index])
                return ::testing::AssertionFailure() << "given " << cell << " changed";
            continue;
        }
        for (int smaller = 1; smaller < answer[index]; ++smaller) {
            prefix[index] = static_cast<std::uint8_t>(smaller);
            if (!hasRepeatedDigits(prefix) && countCompletions(prefix, 1) != 0)
                return ::testing::AssertionFailure()
                    << "cell " << cell << " could take " << smaller;
        }
        prefix[index] = answer[index];
    }
    return ::testing::AssertionSuccess();
}

TEST(FastEngine, GivesTheSmallestCompletionOfHardGrids)
{
    // The hardest grids our generators made, and fresh sparse grids whose row-major search
    // meets a dead end deep down: the answer holds by the definition on every road.
    std::vector<Grid> grids = hardestGeneratedGrids();
    Random random(31);
    for (int i = 0; i < 30; ++i)
        grids.push_back(sparseGrid(random, 4 + i % 8));
    for (const Grid &grid : grids) {
        for (const Road &road : roads) {
            const SearchResult result = fastSolve(grid, road.turns);
            if (result.end == SearchEnd::Completed) {
                EXPECT_TRUE(isSmallestCompletion(grid, result.grid))
                    << road.name << ", grid " << gridText(grid);
            } else {
                EXPECT_EQ(countCompletions(grid, 1), 0) << road.name << ", grid " << gridText(grid);
            }
        }
    }
}

TEST(FastEngine, BothBuildsOpenTheSameNodes)
{
    // The wide build gathers bits its own way: it must deduce exactly what the baseline one
    // does, so both open the same nodes and count the same completions.
    if (!runsWidePath())
        GTEST_SKIP() << "this processor runs the baseline build only";
    std::vector<Grid> grids = hardestGeneratedGrids();
    Random random(11);
    for (int i = 0; i < 40; ++i) {
        grids.push_back(uniqueGrid(random));
        grids.push_back(sparseGrid(random, 8 + i % 12));
        grids.push_back(brokenGrid(random, 25 + i % 10, 0));
    }
    for (const Grid &grid : grids) {
        const SearchResult baseline = fastSolve(grid, {}, EnginePath::Baseline);
        const SearchResult wide = fastSolve(grid, {}, EnginePath::Widest);
        EXPECT_EQ(describe(wide), describe(baseline)) << gridText(grid);
        EXPECT_EQ(wide.placements, baseline.placements) << gridText(grid);
        EXPECT_EQ(countCompletions(grid, 2, EnginePath::Widest),
            countCompletions(grid, 2, EnginePath::Baseline))
            << gridText(grid);
    }
}

TEST(FastEngine, FindsNoCompletionWhereOnlyASearchCanTell)
{
    // Givens in the bottom band only, and a contradiction that no deduction sees: beyond reach
    // of the reference search, so checked against a count instead.
    Random random(7);
    for (int i = 0; i < 40; ++i) {
        const Grid grid = lateContradictionGrid(random);
        CandidateBoard board;
        ASSERT_TRUE(board.load(grid)) << gridText(grid);
        EXPECT_EQ(describe(fastSolve(grid)), "no solution") << gridText(grid);
        EXPECT_EQ(countCompletions(grid, 2), 0) << gridText(grid);
    }
}

TEST(FastEngine, SeesALateContradictionAtOnce)
{
    // The last row's first seven cells hold 1..7; 8 stands above both of its last two cells,
    // so 8 has no place in the last row. Row-major search alone would fill the whole grid
    // above first, over and over.
    std::string text(81, '.');
    text.replace(72, 7, "1234567");
    text[7] = '8';
    text[35] = '8'; // row 3, column 8
    const SearchResult result = fastSolve(grid(text));
    EXPECT_EQ(result.end, SearchEnd::Exhausted);
    EXPECT_EQ(result.placements, 0u);
}

TEST(FastEngine, StaysQuickWhereRowMajorSearchWanders)
{
    // Six givens. Row-major search with propagation alone opens some 263,000 nodes here before
    // it reaches the smallest completion (the literal search takes billions of placements);
    // the count and the descent must get there long before that. Nodes, not time, so the test
    // means the same on every machine.
    const SearchResult result = fastSolve(
        grid("......5...............5..........................4.......3.................7.1..."));
    EXPECT_EQ(describe(result),
        "123467589456819237789253146214536798365978412897142365578394621931625874642781953");
    EXPECT_LT(result.placements, 20000u);
}

TEST(FastEngine, ProvesASparseGridUnsolvableInFewNodes)
{
    // 18 givens and no completion, which propagation alone does not see. Where no cell has two
    // candidates, branching on a cell of three or more took some 6,000 nodes here (and over a
    // million on sparser grids); a digit with two places left takes some 60.
    const SearchResult result = fastSolve(
        grid("6.79..3.1.........2..6.....8.....1.....1........3...7.39.....1.....62.....2......"));
    EXPECT_EQ(result.end, SearchEnd::Exhausted);
    EXPECT_LT(result.placements, 600u);
}

TEST(FastEngine, SettlesWhatTheTriadsTellBeforeAnySearch)
{
    // Grids of our generator that took some 30 nodes: the first two have no completion, the
    // last one; the triads of the loaded grid settle them, by a triad where three digits must
    // go, then by triads of rows and of columns where only three may.
    for (const char *text :
        {"......51...57..9.6.3.6.......1.....37..36..5....97...114.........6.34....8.......",
            "3..8...........6.5.295....1....2........7.4...3...4.1.9.736..8...8.......4....7.."}) {
        const SearchResult none = fastSolve(grid(text));
        EXPECT_EQ(none.end, SearchEnd::Exhausted) << text;
        EXPECT_EQ(none.placements, 0u) << text;
    }
    const Grid givens
        = grid("9.........6....5.71.7......2..........514....4..8.2.6.53...87..8....3.1..496.....");
    const SearchResult one = fastSolve(givens);
    EXPECT_EQ(one.placements, 0u);
    EXPECT_EQ(countCompletions(givens, 2), 1);
    EXPECT_TRUE(isSmallestCompletion(givens, one.grid));
}

TEST(FastEngine, BranchesOnLayoutsWherePropagationLeavesAGridTight)
{
    // Grids of our generator. Branching on cells and places, the engine opened 64, 46 and 36
    // nodes on the first three; on layouts without settling the triads below each, 55 on the
    // last.
    const char *const grids[] = {
        "9...4..6.....35...8...1..7.........4.4..5...77.1....8.6.....9.......4....781.3.2.",
        "2.....5..7.........16......1.9.42..58..9.......46...2.....2..59.483....26....13..",
        ".6..5......528..6..3..9......2.71....9....6..14...5..372....8.5..4..2..9.........",
        "..4..5.9....3...7.1.......8...43......52......92...6..5.7.83.2.9..5.7.......4.8..",
    };
    for (const char *text : grids) {
        const Grid givens = grid(text);
        const SearchResult result = fastSolve(givens);
        EXPECT_LT(result.placements, 24u) << text;
        if (result.end == SearchEnd::Completed)
            EXPECT_TRUE(isSmallestCompletion(givens, result.grid)) << text;
        else
            EXPECT_EQ(countCompletions(givens, 1), 0) << text;
    }
}

TEST(FastEngine, WeighsATieForTheFewestLayoutsAtTheRoot)
{
    // Puzzles of our generator whose root has a band and a stack of equally few layouts. On
    // the first two, below the first of them, which the rule takes, the count opened 26 and 22
    // nodes; the other leaves fewer candidates below its layouts and takes 6 and 4. On the last
    // two the other leaves fewer candidates only because fewer of its layouts hold, and taking
    // it anyway made 6 and 4 nodes into 24 and 16. On both builds.
    for (const char *text :
        {"...5..4397.3.......8...........1.3.712............6.8...8.6..9....4.98.667...52..",
            "....5.16.7.93..........4........5......24...91.3....8.8......5..2...3.......917..",
            "....85.9......7....543.162..7.5.2..........43......2.6.6........196...542..1..9..",
            "..92...4.1..7.4....8..3....74...6.1..26.5.7..8..3......6...59.1.......5...1...4.8"}) {
        const Grid givens = grid(text);
        for (const EnginePath path : paths()) {
            const SearchResult result = fastSolve(givens, {}, path);
            EXPECT_LT(result.placements, 10u) << text;
            EXPECT_TRUE(isSmallestCompletion(givens, result.grid)) << text;
        }
    }
}

TEST(FastEngine, EndsTheLookAfterTheFirstCountAtADeadEnd)
{
    // A puzzle of our generator with one completion, which the count settles: the row-major
    // search's look after the count's first turn meets a dead end at once and would go on for
    // nothing. Ended there, the grid takes 57 nodes rather than 70.
    const Grid givens
        = grid("5.4...329....6..4..........8......36.....71...3.2.....9..1.5.8...29......7...4...");
    SearchTurns wholeLook;
    wholeLook.lookEndsAtDeadEnd = false;
    const SearchResult ended = fastSolve(givens), whole = fastSolve(givens, wholeLook);
    EXPECT_EQ(describe(ended), describe(whole));
    EXPECT_LT(ended.placements + 10, whole.placements);
    EXPECT_TRUE(isSmallestCompletion(givens, ended.grid));
}

TEST(FastEngine, TakesTurnsOfNoNodeAsTurnsOfOne)
{
    // A turn of no node would leave both searches where they are, for ever.
    EXPECT_EQ(describe(fastSolve(grid(EmptyGrid), {0, 0, 0, -1, 0})), EmptyGridCompletion);
}

// The cases the reference search's own tests show it on, through the fast engine on every
// road, and the count of their completions.
struct KnownCase
{
    const char *name;
    std::string grid;
    std::string answer; // "no solution" or the completion
    int completions; // up to two
};

std::ostream &operator<<(std::ostream &out, const KnownCase &c)
{
    return out << c.name;
}

class FastEngineKnownCases : public ::testing::TestWithParam<KnownCase>
{
};

TEST_P(FastEngineKnownCases, MatchesTheReferenceAnswer)
{
    const KnownCase &c = GetParam();
    for (const Road &road : roads)
        EXPECT_EQ(describe(fastSolve(grid(c.grid), road.turns)), c.answer) << road.name;
    EXPECT_EQ(countCompletions(grid(c.grid), 2), c.completions);
}

std::string withCells(std::string text, int from, const std::string &digits)
{
    text.replace(static_cast<std::size_t>(from), digits.size(), digits);
    return text;
}

INSTANTIATE_TEST_SUITE_P(Table, FastEngineKnownCases,
    ::testing::Values(
        KnownCase {"EmptyGrid", std::string(EmptyGrid), std::string(EmptyGridCompletion), 2},
        KnownCase {"Sample", std::string(SamplePuzzle), std::string(SampleSolution), 1},
        // Cells 4, 6, 22, 24 fit either way round: the smaller way puts 4 first.
        KnownCase {"TwoCompletions",
            withCells(withCells(withCells(withCells(std::string(SampleSolution), 4, "."), 6, "."),
                          22, "."),
                24, "."),
            withCells(withCells(withCells(withCells(std::string(SampleSolution), 4, "4"), 6, "5"),
                          22, "5"),
                24, "4"),
            2},
        // Two completions, both found by the count before the row-major search finishes (on
        // the descent's road): a count that goes on past two ends with nothing more and would
        // take the grid for one without a completion.
        KnownCase {"TwoCompletionsCountedFirst",
            "....1865.2..54...885439..7.3.18...2..7..3.4..5..4...1..3265.....6.78....1.7.24..3",
            "793218654216547938854396172341865729679132485528479316432651897965783241187924563", 2},
        // 18 givens and no completion, which propagation alone does not see.
        KnownCase {"NoCompletionBeyondPropagation",
            "6.79..3.1.........2..6.....8.....1.....1........3...7.39.....1.....62.....2......",
            "no solution", 0},
        KnownCase {"FirstCellWithoutValue", withCells(std::string(81, '.'), 1, "234567891"),
            "no solution", 0},
        KnownCase {"FirstCellEndsOnNine",
            withCells(withCells(withCells(std::string(81, '.'), 1, "1234567"), 17, "8"), 26, "9"),
            "no solution", 0}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(CountCompletions, CountsUpToTheLimit)
{
    EXPECT_EQ(countCompletions(grid(SampleSolution), 2), 1);
    EXPECT_EQ(countCompletions(grid(EmptyGrid), 1), 1);
    std::string twoWays(SampleSolution);
    for (int cell : {4, 6, 22, 24})
        twoWays[static_cast<std::size_t>(cell)] = '.';
    EXPECT_EQ(countCompletions(grid(twoWays), 5), 2);
    EXPECT_EQ(countCompletions(grid(twoWays), 0), 0);
    std::string none(SamplePuzzle);
    none[1] = '2'; // fits its row, column and box, but leaves the puzzle without a completion
    ASSERT_FALSE(hasRepeatedDigits(grid(none)));
    EXPECT_EQ(countCompletions(grid(none), 2), 0);
}

TEST(CandidateBoard, KeepsEveryValueOfAKnownCompletion)
{
    // Propagation and the triads may only remove what no completion uses: the solution a grid
    // was cut from must survive loading, and then, one step after another, placing its own
    // values or keeping its layouts. Of a digit's layouts, exactly one keeps the solution.
    Random random(99);
    auto holds = [](const CandidateBoard &board, const Grid &solution) {
        for (int cell = 0; cell < CellCount; ++cell) {
            if (!(board.candidates(cell) & (1u << (solution[cell] - 1))))
                return false;
        }
        return true;
    };
    for (int i = 0; i < 300; ++i) {
        const Grid solution = randomSolution(random);
        Grid puzzle = solution;
        for (int blank = 0; blank < 25 + i % 50; ++blank)
            puzzle[static_cast<std::size_t>(random.below(CellCount))] = 0;
        CandidateBoard board;
        ASSERT_TRUE(board.load(puzzle) && board.settleTriads()) << gridText(puzzle);
        for (int step = 0; !board.isSolved(); ++step) {
            ASSERT_TRUE(holds(board, solution)) << gridText(puzzle) << " step " << step;
            const std::optional<CandidateBoard::Layouts> layouts = board.fewestLayouts();
            if (step % 2 == 0 || !layouts) {
                const int cell = board.firstUnsolvedCell();
                ASSERT_TRUE(board.place(cell, solution[cell])) << gridText(puzzle);
                continue;
            }
            ASSERT_EQ(board.layoutsLeft(*layouts), layouts->ways);
            int keeping = 0;
            CandidateBoard kept;
            std::optional<CandidateBoard::Layouts> next, keptNext;
            for (unsigned ways = layouts->ways; ways; ways &= ways - 1) {
                CandidateBoard trial = board;
                if (trial.keepLayout(*layouts, std::countr_zero(ways), next)
                    && holds(trial, solution)) {
                    ++keeping;
                    kept = trial;
                    keptNext = next;
                }
            }
            ASSERT_EQ(keeping, 1) << gridText(puzzle) << " step " << step;
            // The layouts it gives for the board it leaves are those the board would choose.
            const std::optional<CandidateBoard::Layouts> chosen = kept.fewestLayouts();
            ASSERT_EQ(keptNext.has_value(), chosen.has_value());
            if (keptNext) {
                EXPECT_EQ(
                    std::tie(keptNext->digit, keptNext->band, keptNext->vertical, keptNext->ways),
                    std::tie(chosen->digit, chosen->band, chosen->vertical, chosen->ways))
                    << gridText(puzzle) << " step " << step;
            }
            board = kept;
        }
        EXPECT_EQ(gridText(board.grid()), gridText(solution));
    }
}

TEST(CandidateBoard, RejectsGivensThatClashOrAreNoDigit)
{
    auto clash = [](int first, int second) {
        std::string text(81, '.');
        text[static_cast<std::size_t>(first)] = '5';
        text[static_cast<std::size_t>(second)] = '5';
        return grid(text);
    };
    CandidateBoard board;
    EXPECT_FALSE(board.load(clash(0, 8))); // row
    EXPECT_FALSE(board.load(clash(9, 72))); // column, across bands
    EXPECT_FALSE(board.load(clash(0, 20))); // box
    EXPECT_FALSE(board.load(clash(62, 80))); // box and column, with the last cell
    EXPECT_TRUE(board.load(clash(0, 80)));
    for (const int value : {GridSize + 1, 128}) {
        Grid tooLarge {};
        tooLarge[40] = static_cast<std::uint8_t>(value);
        EXPECT_FALSE(board.load(tooLarge)) << value;
        EXPECT_EQ(fastSolve(tooLarge).end, SearchEnd::Exhausted);
    }
    EXPECT_TRUE(board.load(grid(EmptyGrid)));
    EXPECT_EQ(board.firstUnsolvedCell(), 0);
}

TEST(CandidateBoard, BranchesOnACellWithTheFewestCandidates)
{
    Random random(5);
    for (int i = 0; i < 200; ++i) {
        CandidateBoard board;
        ASSERT_TRUE(board.load(sparseGrid(random, 10 + i % 30)));
        std::optional<CandidateBoard::TwoPlaces> places;
        const int chosen = board.narrowestChoice(places);
        if (board.isSolved() || places)
            continue;
        const int fewest = std::popcount(board.candidates(chosen));
        EXPECT_GE(fewest, 2);
        for (int cell = 0; cell < CellCount; ++cell) {
            const int count = std::popcount(board.candidates(cell));
            if (count > 1) {
                EXPECT_GE(count, fewest) << "cell " << cell;
            }
        }
    }
}

TEST(CandidateBoard, KeepsEveryCompletionOnItsSideOfABound)
{
    // Two rectangles of cells, apart from each other, that each fit either way round: four
    // completions. Keeping below one of them keeps each one before it whole, among them one
    // that agrees with it at the first open cell; below the first there is nothing. Keeping
    // above one keeps it and those after it whole.
    constexpr int Rectangles = 2;
    const std::array<std::array<int, 4>, Rectangles> rectangles {
        {{4, 6, 22, 24}, {56, 61, 65, 70}}};
    std::string open(SampleSolution);
    for (const auto &cells : rectangles) {
        for (int cell : cells)
            open[static_cast<std::size_t>(cell)] = '.';
    }
    std::vector<Grid> completions;
    for (unsigned turned = 0; turned < (1u << Rectangles); ++turned) {
        Grid completion = grid(SampleSolution);
        for (int r = 0; r < Rectangles; ++r) {
            if (turned & (1u << r)) {
                const auto &[a, b, c, d] = rectangles[static_cast<std::size_t>(r)];
                std::swap(completion[a], completion[b]);
                std::swap(completion[c], completion[d]);
            }
        }
        completions.push_back(completion);
    }
    std::sort(completions.begin(), completions.end()); // row-major order
    auto keepsWhole = [](const CandidateBoard &board, const Grid &completion) {
        for (int cell = 0; cell < CellCount; ++cell) {
            if (!(board.candidates(cell) & (1u << (completion[cell] - 1))))
                return false;
        }
        return true;
    };
    for (std::size_t bound = 0; bound < completions.size(); ++bound) {
        CandidateBoard solved, below, above;
        ASSERT_TRUE(solved.load(completions[bound]) && solved.isSolved());
        const CandidateBoard::Bound place(solved);
        ASSERT_TRUE(below.load(grid(open)));
        ASSERT_TRUE(above.load(grid(open)));
        bool changed = false;
        ASSERT_EQ(below.keepBelow(place, changed), bound > 0);
        ASSERT_TRUE(above.keepAbove(place, changed));
        for (std::size_t other = 0; other < completions.size(); ++other) {
            if (other < bound)
                EXPECT_TRUE(keepsWhole(below, completions[other])) << bound << ", " << other;
            else
                EXPECT_TRUE(keepsWhole(above, completions[other])) << bound << ", " << other;
        }
    }
    // The solved cells before the first open one, then a digit above both that it can take.
    CandidateBoard board;
    ASSERT_TRUE(board.load(grid(open)));
    bool changed = false;
    EXPECT_FALSE(
        board.keepAbove(CandidateBoard::Bound(board, rectangles[0][0], GridSize), changed));
}

TEST(DigitLanes, EveryBuildOfTheLanesRemovesTheCellsAndTellsWhichLost)
{
    // The portable lanes against the definition, and the lanes the board uses against them;
    // likewise which lanes hold a cell. The own lane, when there is one, takes its new mask.
    constexpr int Count = PortableDigitLanes::Count;
    Random random(3);
    for (int i = 0; i < 1000; ++i) {
        std::uint32_t before[Count], portable[Count], used[Count];
        for (int lane = 0; lane < Count; ++lane)
            before[lane] = portable[lane] = used[lane]
                = static_cast<std::uint32_t>(random.next()) >> random.below(32);
        const auto cells = static_cast<std::uint32_t>(random.next()) >> random.below(32);
        const std::uint32_t cell = 1u << random.below(32);
        const int own = random.below(Count + 2) - 1; // -1 and Count: none
        const auto ownMask = static_cast<std::uint32_t>(random.next());
        std::uint32_t held = 0;
        for (int lane = 0; lane < Count; ++lane)
            held |= static_cast<std::uint32_t>((before[lane] & cell) != 0) << lane;
        EXPECT_EQ(PortableDigitLanes::holding(before, cell), held);
        EXPECT_EQ(DigitLanes::holding(before, cell) & ((1u << Count) - 1), held);
        const std::uint32_t lost = PortableDigitLanes::remove(portable, cells, own, ownMask);
        EXPECT_EQ(DigitLanes::remove(used, cells, own, ownMask), lost);
        for (int lane = 0; lane < Count; ++lane) {
            EXPECT_EQ(portable[lane], lane == own ? ownMask : before[lane] & ~cells);
            EXPECT_EQ(used[lane], portable[lane]);
            EXPECT_EQ(((lost >> lane) & 1u) != 0, lane != own && (before[lane] & cells) != 0)
                << "lane " << lane;
        }
    }
}

} // namespace
} // namespace kaleno
