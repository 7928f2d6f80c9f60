// The solve command on 81 cell texts, with both engines.
//
// The first byte of the input says how the rest becomes a grid (the seeds start with the digit
// of their layout, as its value modulo 3 is what counts):
//   0: the texts themselves, separated by '|'; missing texts are empty;
//   1: one byte per cell after a density byte: '1'-'9' a given, '.' or '0' an empty cell, any
//      other byte b the given b % 10 when b / 10 is below the density byte modulo 27, else an
//      empty cell;
//   2: a solved grid, shuffled by the bytes, with the cells that a bit mask clears: a puzzle
//      that has a completion for sure.
// The outcome of the fast engine must follow the rules of the solve command, and whenever the
// reference search ends within its bound, both engines must give the same outcome. The rest of
// the first byte (its value divided by 3) picks other turns for the fast engine's searches,
// which must not change its result.

#include "conversions.h"
#include "fast_engine.h"
#include "fuzz_check.h"
#include "grid.h"
#include "solve_core.h"

#include <algorithm>
#include <bitset>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using namespace kaleno;
using kaleno::fuzz::fail;
using kaleno::fuzz::require;

namespace {

constexpr std::size_t MaxTextSize = 4096;
constexpr std::uint64_t ReferenceBound = 20000;

// Gives the input's bytes one at a time, and zeros once they run out.
class ByteSource
{
public:
    explicit ByteSource(std::string_view bytes) : m_bytes(bytes) { }

    unsigned next()
    {
        return m_at < m_bytes.size() ? static_cast<unsigned char>(m_bytes[m_at++]) : 0u;
    }

private:
    std::string_view m_bytes;
    std::size_t m_at = 0;
};

std::string digitText(int digit)
{
    return digit == 0 ? std::string() : std::string(1, static_cast<char>('0' + digit));
}

CellTexts separatedTexts(std::string_view bytes)
{
    CellTexts texts;
    for (std::string &text : texts) {
        const std::size_t end = bytes.find('|');
        text = std::string(bytes.substr(0, std::min(end, MaxTextSize)));
        if (end == std::string_view::npos)
            break;
        bytes.remove_prefix(end + 1);
    }
    return texts;
}

CellTexts byteGrid(std::string_view bytes)
{
    ByteSource source(bytes);
    const unsigned density = source.next() % 27;
    CellTexts texts;
    for (std::string &text : texts) {
        const unsigned byte = source.next();
        if (byte >= '1' && byte <= '9')
            text = digitText(static_cast<int>(byte - '0'));
        else if (byte != '.' && byte != '0' && byte / 10 < density)
            text = digitText(static_cast<int>(byte % 10));
    }
    return texts;
}

template<std::size_t N>
void shuffle(std::array<int, N> &items, ByteSource &source)
{
    for (std::size_t i = N - 1; i > 0; --i)
        std::swap(items[i], items[source.next() % (i + 1)]);
}

// A solved grid under relabelling of its digits, permutations of bands, stacks and the rows
// and columns inside them, and transposition: each of these keeps a grid solved.
Grid shuffledSolution(ByteSource &source)
{
    std::array<int, 9> digits {1, 2, 3, 4, 5, 6, 7, 8, 9};
    shuffle(digits, source);
    std::array<std::array<int, 9>, 2> lines; // the row, then the column, each one comes from
    for (auto &order : lines) {
        std::array<int, 3> blocks {0, 1, 2};
        shuffle(blocks, source);
        for (std::size_t block = 0; block < 3; ++block) {
            std::array<int, 3> inside {0, 1, 2};
            shuffle(inside, source);
            for (std::size_t k = 0; k < 3; ++k)
                order[block * 3 + k] = blocks[block] * 3 + inside[k];
        }
    }
    const bool transpose = (source.next() & 1) != 0;
    Grid grid {};
    for (std::size_t cell = 0; cell < CellCount; ++cell) {
        int row = lines[0][cell / 9];
        int column = lines[1][cell % 9];
        if (transpose)
            std::swap(row, column);
        const auto pattern = static_cast<std::size_t>((row * 3 + row / 3 + column) % 9);
        grid[cell] = static_cast<std::uint8_t>(digits[pattern]);
    }
    return grid;
}

Grid clearedByMask(Grid grid, ByteSource &source)
{
    unsigned mask = 0;
    for (std::size_t cell = 0; cell < CellCount; ++cell) {
        if (cell % 8 == 0)
            mask = source.next();
        if ((mask >> (cell % 8) & 1u) == 0)
            grid[cell] = 0;
    }
    return grid;
}

// The cell indexes of row, column or box `unit` (0-8 rows, 9-17 columns, 18-26 boxes).
std::size_t unitCell(std::size_t unit, std::size_t k)
{
    if (unit < 9)
        return unit * 9 + k;
    if (unit < 18)
        return k * 9 + unit - 9;
    const std::size_t box = unit - 18;
    return (box / 3 * 3 + k / 3) * 9 + box % 3 * 3 + k % 3;
}

bool repeatsADigit(const Grid &grid)
{
    for (std::size_t unit = 0; unit < 27; ++unit) {
        unsigned seen = 0;
        for (std::size_t k = 0; k < 9; ++k) {
            const unsigned digit = grid[unitCell(unit, k)];
            if (digit == 0)
                continue;
            if (seen & (1u << digit))
                return true;
            seen |= 1u << digit;
        }
    }
    return false;
}

bool isComplete(const Grid &grid)
{
    return std::all_of(grid.begin(), grid.end(), [](auto d) { return d >= 1 && d <= 9; })
        && !repeatsADigit(grid);
}

// What reading the texts must give, worked out here from numberFromText alone.
struct ExpectedReading
{
    Grid givens {};
    std::bitset<CellCount> orange;
    std::optional<int> errorCell;
    bool repeated = false;
};

ExpectedReading expectedReading(const CellTexts &texts)
{
    ExpectedReading reading;
    for (std::size_t cell = 0; cell < CellCount; ++cell) {
        const double number = numberFromText(texts[cell]);
        const double nearest = std::nearbyint(number); // a half goes to the even neighbour
        if (!std::isfinite(number) || nearest < 0.0 || nearest > 9.0) {
            reading.errorCell = static_cast<int>(cell);
            return reading;
        }
        reading.givens[cell] = static_cast<std::uint8_t>(nearest);
        if (number != 0.0)
            reading.orange.set(cell);
    }
    reading.repeated = repeatsADigit(reading.givens);
    return reading;
}

const char *kindName(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Solved:
        return "Solved";
    case OutcomeKind::NoSolution:
        return "NoSolution";
    case OutcomeKind::InputError:
        return "InputError";
    case OutcomeKind::StepLimit:
        return "StepLimit";
    }
    return "?";
}

[[noreturn]] void failOn(const Grid &givens, const std::string &what)
{
    fail(what + "\n    givens " + gridText(givens));
}

// The digits of a Solved outcome: the givens, and the texts of the free cells.
Grid solvedDigits(
    const ExpectedReading &reading, const SolveOutcome &outcome, const CellTexts &texts)
{
    Grid digits = reading.givens;
    for (std::size_t cell = 0; cell < CellCount; ++cell) {
        const std::string &text = outcome.texts[cell];
        if (reading.givens[cell] != 0) {
            if (text != texts[cell])
                failOn(reading.givens,
                    "Solved changed the text of given cell " + std::to_string(cell));
            continue;
        }
        if (text.size() != 1 || text[0] < '1' || text[0] > '9')
            failOn(reading.givens,
                "Solved left free cell " + std::to_string(cell) + " with text "
                    + kaleno::fuzz::quoted(text));
        digits[cell] = static_cast<std::uint8_t>(text[0] - '0');
    }
    if (!isComplete(digits))
        failOn(reading.givens, "Solved with a grid that is no completion: " + gridText(digits));
    return digits;
}

// No completion is smaller in row-major order: at each free cell, with the cells before it as
// the solution has them, no smaller digit leads to a completion.
void checkSmallest(const Grid &givens, const Grid &solution)
{
    Grid prefix = givens;
    for (std::size_t cell = 0; cell < CellCount; ++cell) {
        if (givens[cell] != 0)
            continue;
        for (std::uint8_t digit = 1; digit < solution[cell]; ++digit) {
            prefix[cell] = digit;
            if (!repeatsADigit(prefix) && countCompletions(prefix, 1) != 0)
                failOn(givens,
                    "the completion " + gridText(solution)
                        + " is not the smallest: " + gridText(prefix) + " has one too");
        }
        prefix[cell] = solution[cell];
    }
}

void checkFastOutcome(
    const CellTexts &texts, const SolveOutcome &fast, const std::optional<Grid> &knownCompletion)
{
    const ExpectedReading reading = expectedReading(texts);
    const Grid &givens = reading.givens;
    if (fast.orange != reading.orange)
        failOn(givens,
            "orange cells " + fast.orange.to_string() + ", expected " + reading.orange.to_string()
                + " (bit 0 on the right is cell 0)");
    if (fast.errorCell != reading.errorCell)
        failOn(givens,
            "error cell " + std::to_string(fast.errorCell.value_or(-1)) + ", expected "
                + std::to_string(reading.errorCell.value_or(-1)));
    const bool inputError = reading.errorCell || reading.repeated;
    if ((fast.kind == OutcomeKind::InputError) != inputError || fast.kind == OutcomeKind::StepLimit)
        failOn(givens,
            std::string("fast engine answered ") + kindName(fast.kind)
                + (inputError ? " to an input error" : ""));
    if (fast.kind != OutcomeKind::Solved) {
        require(fast.texts == texts, "the texts changed without a solution");
        if (knownCompletion)
            failOn(givens,
                std::string("fast engine answered ") + kindName(fast.kind)
                    + " to a grid with the completion " + gridText(*knownCompletion));
    }
    if (inputError)
        return;

    // Counting completions asks the same question another way: is there one at all?
    const bool completes = countCompletions(givens, 1) != 0;
    if (completes != (fast.kind == OutcomeKind::Solved))
        failOn(givens,
            std::string("fast engine answered ") + kindName(fast.kind)
                + " but countCompletions says " + (completes ? "1+" : "0"));
    if (fast.kind != OutcomeKind::Solved)
        return;
    const Grid solution = solvedDigits(reading, fast, texts);
    if (knownCompletion && *knownCompletion < solution)
        failOn(givens,
            "the completion " + gridText(solution) + " is larger than the known "
                + gridText(*knownCompletion));
    checkSmallest(givens, solution);
}

void checkSameOutcome(
    const CellTexts &texts, const SolveOutcome &fast, const SolveOutcome &reference)
{
    const Grid givens = expectedReading(texts).givens;
    if (reference.kind == OutcomeKind::StepLimit) {
        // Cut short, the reference still read the cells the same way and changed no text.
        if (fast.kind != OutcomeKind::Solved && fast.kind != OutcomeKind::NoSolution)
            failOn(givens,
                std::string("reference hit its bound where the fast engine answered ")
                    + kindName(fast.kind));
        require(reference.texts == texts, "reference changed texts when cut short");
        require(reference.orange == fast.orange && reference.errorCell == fast.errorCell,
            "reference cut short read the cells differently");
        return;
    }
    if (reference.kind != fast.kind)
        failOn(givens,
            std::string("fast engine answered ") + kindName(fast.kind) + ", reference "
                + kindName(reference.kind));
    if (reference.texts != fast.texts) {
        std::string fastTexts, referenceTexts;
        for (std::size_t cell = 0; cell < CellCount; ++cell) {
            fastTexts += fast.texts[cell].size() == 1 ? fast.texts[cell] : std::string("?");
            referenceTexts
                += reference.texts[cell].size() == 1 ? reference.texts[cell] : std::string("?");
        }
        failOn(givens,
            "the engines' texts differ:\n    fast      " + fastTexts + "\n    reference "
                + referenceTexts);
    }
    if (reference.orange != fast.orange || reference.errorCell != fast.errorCell)
        failOn(givens, "the engines' orange cells or error cell differ");
}

// Turns of 0 (taken as 1), 1, 3 or 40 nodes, so that the searches hand over often and at
// different points.
SearchTurns turnsOf(unsigned choice)
{
    constexpr long Lengths[] = {0, 1, 3, 40};
    return {Lengths[choice & 3], Lengths[choice >> 2 & 3], Lengths[choice >> 4 & 3],
        Lengths[choice >> 6 & 3]};
}

void checkOtherTurns(const CellTexts &texts, const SearchTurns &turns)
{
    const ExpectedReading reading = expectedReading(texts);
    if (reading.errorCell || reading.repeated)
        return;
    const SearchResult usual = fastSolve(reading.givens);
    const SearchResult other = fastSolve(reading.givens, turns);
    if (other.end != usual.end || (usual.end == SearchEnd::Completed && other.grid != usual.grid))
        failOn(reading.givens,
            "turns of " + std::to_string(turns.firstLook) + ", " + std::to_string(turns.rowMajor)
                + ", " + std::to_string(turns.count) + " and " + std::to_string(turns.severalLook)
                + " nodes give "
                + (other.end == SearchEnd::Completed ? gridText(other.grid) : "no completion")
                + ", the usual ones "
                + (usual.end == SearchEnd::Completed ? gridText(usual.grid) : "no completion"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::string_view rest = input.empty() ? input : input.substr(1);
    CellTexts texts;
    std::optional<Grid> knownCompletion;
    switch (input.empty() ? 0 : static_cast<unsigned char>(input[0]) % 3) {
    case 0:
        texts = separatedTexts(rest);
        break;
    case 1:
        texts = byteGrid(rest);
        break;
    default: {
        ByteSource source(rest);
        knownCompletion = shuffledSolution(source);
        const Grid puzzle = clearedByMask(*knownCompletion, source);
        for (std::size_t cell = 0; cell < CellCount; ++cell)
            texts[cell] = digitText(puzzle[cell]);
        break;
    }
    }

    const SolveOutcome fast = solveCells(texts, {Engine::Fast, Unbounded});
    checkFastOutcome(texts, fast, knownCompletion);
    checkOtherTurns(texts, turnsOf(input.empty() ? 0u : static_cast<unsigned char>(input[0]) / 3u));
    const SolveOutcome reference = solveCells(texts, {Engine::Reference, ReferenceBound});
    checkSameOutcome(texts, fast, reference);
    return 0;
}
