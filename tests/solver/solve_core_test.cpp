#include "grids.h"
#include "reference_search.h"
#include "solve_core.h"

#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

namespace kaleno {
namespace {

using namespace testing;

std::bitset<CellCount> cellsOf(std::initializer_list<int> cells)
{
    std::bitset<CellCount> set;
    for (int cell : cells)
        set.set(static_cast<std::size_t>(cell));
    return set;
}

std::bitset<CellCount> givenCellsOf(std::string_view text)
{
    std::bitset<CellCount> set;
    for (int cell = 0; cell < CellCount; ++cell)
        set.set(static_cast<std::size_t>(cell), text[static_cast<std::size_t>(cell)] != '.');
    return set;
}

const char *engineName(Engine engine)
{
    return engine == Engine::Fast ? "Fast" : "Reference";
}

// Every case holds for both engines.
class SolveCells : public ::testing::TestWithParam<Engine>
{
protected:
    SolveOutcome solve(const CellTexts &texts) const
    {
        return solveCells(texts, {GetParam(), Unbounded});
    }
};

INSTANTIATE_TEST_SUITE_P(Engines, SolveCells, ::testing::Values(Engine::Fast, Engine::Reference),
    [](const auto &row) { return std::string(engineName(row.param)); });

TEST_P(SolveCells, SolvesTheSamplePuzzleAndColoursItsGivens)
{
    const SolveOutcome outcome = solve(textsOf(SamplePuzzle));
    EXPECT_EQ(outcome.kind, OutcomeKind::Solved);
    EXPECT_EQ(gridOf(outcome.texts), SampleSolution);
    EXPECT_EQ(outcome.orange, givenCellsOf(SamplePuzzle));
    EXPECT_EQ(outcome.orange.count(), 23u);
    EXPECT_FALSE(outcome.errorCell);
}

TEST_P(SolveCells, FillsAnEmptyGrid)
{
    const SolveOutcome outcome = solve(CellTexts {});
    EXPECT_EQ(outcome.kind, OutcomeKind::Solved);
    EXPECT_EQ(gridOf(outcome.texts), EmptyGridCompletion);
    EXPECT_TRUE(outcome.orange.none());
}

// One text in the middle cell of an otherwise empty grid.
struct CellReading
{
    const char *text;
    OutcomeKind kind;
    bool orange;
    int given; // the digit the cell is given as; 0 when free; -1 when it is the error cell
};

std::ostream &operator<<(std::ostream &out, const CellReading &c)
{
    return out << '"' << c.text << '"';
}

class SolveCellsReading : public ::testing::TestWithParam<std::tuple<CellReading, Engine>>
{
};

TEST_P(SolveCellsReading, ReadsTheCellAsTheWindowDoes)
{
    constexpr int Middle = 40;
    const auto &[c, engine] = GetParam();
    CellTexts texts;
    texts[Middle] = c.text;
    const SolveOutcome outcome = solveCells(texts, {engine, Unbounded});

    EXPECT_EQ(outcome.kind, c.kind);
    EXPECT_EQ(outcome.orange, c.orange ? cellsOf({Middle}) : cellsOf({}));
    if (c.given < 0) {
        EXPECT_EQ(outcome.errorCell, Middle);
        EXPECT_EQ(outcome.texts, texts);
        return;
    }
    EXPECT_FALSE(outcome.errorCell);

    Grid givens {};
    givens[Middle] = static_cast<std::uint8_t>(c.given);
    std::string expected = gridText(referenceSolve(givens).grid);
    if (c.given != 0) {
        // A given keeps the text it was typed with; the free cells show their digits.
        EXPECT_EQ(outcome.texts[Middle], c.text);
        expected[Middle] = '?';
    }
    EXPECT_EQ(gridOf(outcome.texts), expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SolveCellsReading,
    ::testing::Combine(::testing::Values(CellReading {"", OutcomeKind::Solved, false, 0},
                           CellReading {"0", OutcomeKind::Solved, false, 0},
                           CellReading {"abc", OutcomeKind::Solved, false, 0},
                           CellReading {"0.3", OutcomeKind::Solved, true, 0},
                           CellReading {"-0.3", OutcomeKind::Solved, true, 0},
                           CellReading {"0.5", OutcomeKind::Solved, true, 0},
                           CellReading {"2.5", OutcomeKind::Solved, true, 2},
                           CellReading {"3.5", OutcomeKind::Solved, true, 4},
                           CellReading {" 7 ", OutcomeKind::Solved, true, 7},
                           CellReading {"8,5", OutcomeKind::Solved, true, 8},
                           CellReading {"9.4", OutcomeKind::Solved, true, 9},
                           CellReading {"9.6", OutcomeKind::InputError, false, -1},
                           CellReading {"12", OutcomeKind::InputError, false, -1},
                           CellReading {"-3", OutcomeKind::InputError, false, -1},
                           CellReading {"-0.6", OutcomeKind::InputError, false, -1},
                           CellReading {"40000", OutcomeKind::InputError, false, -1},
                           CellReading {"1e5", OutcomeKind::InputError, false, -1},
                           CellReading {"1e400", OutcomeKind::InputError, false, -1}),
        ::testing::Values(Engine::Fast, Engine::Reference)));

TEST_P(SolveCells, StopsReadingAtACellThatIsNotADigit)
{
    for (const char *bad : {"12", "40000"}) {
        CellTexts texts;
        texts[0] = "1";
        texts[2] = "0.3";
        texts[4] = "2";
        texts[5] = bad;
        texts[10] = "3";
        const SolveOutcome outcome = solve(texts);
        EXPECT_EQ(outcome.kind, OutcomeKind::InputError) << bad;
        EXPECT_EQ(outcome.errorCell, 5) << bad;
        // The cells before are coloured; the bad cell and those after it are not touched.
        EXPECT_EQ(outcome.orange, cellsOf({0, 2, 4})) << bad;
        EXPECT_EQ(outcome.texts, texts) << bad;
    }
}

TEST_P(SolveCells, RejectsADigitGivenTwiceInOneUnit)
{
    const std::pair<int, int> repeats[] = {{0, 8}, {4, 76}, {30, 50}}; // row, column, box
    for (const auto &[first, second] : repeats) {
        CellTexts texts;
        texts[first] = "5";
        texts[second] = "5";
        texts[80] = "1";
        const SolveOutcome outcome = solve(texts);
        EXPECT_EQ(outcome.kind, OutcomeKind::InputError) << first << ", " << second;
        EXPECT_FALSE(outcome.errorCell);
        EXPECT_EQ(outcome.orange, cellsOf({first, second, 80}));
        EXPECT_EQ(outcome.texts, texts);
    }
}

TEST_P(SolveCells, LeavesEveryTextAsItWasWhenThereIsNoSolution)
{
    // Cell 0 would end on 9 in the search's own bookkeeping; nothing of that may show.
    std::string text(81, '.');
    text.replace(1, 7, "1234567");
    text[17] = '8';
    text[26] = '9';
    CellTexts texts = textsOf(text);
    texts[40] = "0.3"; // free, coloured, and untouched by a failed search
    const SolveOutcome outcome = solve(texts);
    EXPECT_EQ(outcome.kind, OutcomeKind::NoSolution);
    EXPECT_EQ(outcome.texts, texts);
    auto orange = givenCellsOf(text);
    orange.set(40);
    EXPECT_EQ(outcome.orange, orange);
}

TEST_P(SolveCells, CallsAFinishedGridSolved)
{
    CellTexts texts = textsOf(SampleSolution);
    texts[0] = " 1";
    const SolveOutcome outcome = solve(texts);
    EXPECT_EQ(outcome.kind, OutcomeKind::Solved);
    EXPECT_EQ(outcome.texts, texts);
    EXPECT_TRUE(outcome.orange.all());

    texts[1] = "1"; // now 1 twice in the first row
    EXPECT_EQ(solve(texts).kind, OutcomeKind::InputError);
}

TEST(SolveCells, ReportsTheStepLimitOfTheReferenceSearch)
{
    const CellTexts texts = textsOf(SamplePuzzle);
    const SolveOutcome outcome = solveCells(texts, {Engine::Reference, 10});
    EXPECT_EQ(outcome.kind, OutcomeKind::StepLimit);
    EXPECT_EQ(outcome.texts, texts);
    EXPECT_EQ(outcome.orange, givenCellsOf(SamplePuzzle));
}

} // namespace
} // namespace kaleno
