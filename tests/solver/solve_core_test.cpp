#include "grids.h"
#include "reference_search.h"
#include "solve_core.h"

#include <gtest/gtest.h>

#include <bitset>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>

namespace kaleno {
namespace {

using namespace kaleno::testing;

// The cells of a grid text that hold a digit.
std::bitset<CellCount> cellsOf(std::string_view text)
{
    std::bitset<CellCount> set;
    for (std::size_t cell = 0; cell < text.size(); ++cell)
        set.set(cell, text[cell] != '.');
    return set;
}

TEST(SolveCells, SolvesTheSamplePuzzleAndTheEmptyGrid)
{
    for (const auto &[puzzle, solution] :
        {std::pair(SamplePuzzle, SampleSolution), std::pair(EmptyGrid, EmptyGridCompletion)}) {
        const SolveOutcome outcome = solveCells(textsOf(puzzle));
        EXPECT_EQ(outcome.kind, OutcomeKind::Solved);
        EXPECT_EQ(outcome.texts, textsOf(solution));
        EXPECT_EQ(outcome.orange, cellsOf(puzzle));
    }
}

// One text in the middle cell of an otherwise empty grid.
struct CellReading
{
    const char *text;
    bool orange;
    int given; // the digit the cell is given as; 0 when free; -1 when it is an input error
};

std::ostream &operator<<(std::ostream &out, const CellReading &c)
{
    return out << '"' << c.text << '"';
}

class SolveCellsReading : public ::testing::TestWithParam<CellReading>
{
};

TEST_P(SolveCellsReading, ReadsTheCellAsTheWindowDoes)
{
    constexpr int Middle = 40;
    const CellReading &c = GetParam();
    CellTexts texts;
    texts[Middle] = c.text;
    CellTexts expected = texts; // an input error leaves every text alone
    if (c.given >= 0) {
        Grid givens {};
        givens[Middle] = static_cast<std::uint8_t>(c.given);
        expected = textsOf(gridText(referenceSolve(givens).grid));
        if (c.given != 0)
            expected[Middle] = c.text; // a given keeps the text it was typed with
    }
    const SolveOutcome outcome = solveCells(texts);
    EXPECT_EQ(outcome.kind, c.given < 0 ? OutcomeKind::InputError : OutcomeKind::Solved);
    EXPECT_EQ(outcome.errorCell, c.given < 0 ? std::optional(Middle) : std::nullopt);
    EXPECT_EQ(outcome.orange, std::bitset<CellCount>().set(Middle, c.orange));
    EXPECT_EQ(outcome.texts, expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SolveCellsReading,
    ::testing::Values(CellReading {"", false, 0}, CellReading {"-0", false, 0},
        CellReading {"0.3", true, 0}, CellReading {"-0.3", true, 0}, CellReading {"0.5", true, 0},
        CellReading {"3.5", true, 4}, CellReading {" 7 ", true, 7}, CellReading {"9.4", true, 9},
        CellReading {"9.5", false, -1}, CellReading {"12", false, -1},
        CellReading {"-3", false, -1}, CellReading {"-0.6", false, -1},
        CellReading {"40000", false, -1}));

TEST(SolveCells, RejectsADigitGivenTwiceInOneUnit)
{
    for (const auto &[first, second] : {std::pair(0, 8), {4, 76}, {30, 50}}) { // row, column, box
        CellTexts texts;
        texts[first] = texts[second] = "5";
        const SolveOutcome outcome = solveCells(texts);
        EXPECT_EQ(outcome.kind, OutcomeKind::InputError) << first << ", " << second;
        EXPECT_FALSE(outcome.errorCell);
        EXPECT_EQ(outcome.orange, std::bitset<CellCount>().set(first).set(second));
        EXPECT_EQ(outcome.texts, texts);
    }
}

TEST(SolveCells, LeavesEveryTextAsItWasWhenThereIsNoSolution)
{
    // The reference search would leave cell 0 on 9; nothing of that may show.
    std::string text = ".1234567." + std::string(72, '.');
    text[17] = '8';
    text[26] = '9';
    CellTexts texts = textsOf(text);
    texts[40] = "0.3"; // free, coloured, and untouched by a failed search
    for (Engine engine : {Engine::Fast, Engine::Reference}) {
        const SolveOutcome outcome = solveCells(texts, {engine});
        EXPECT_EQ(outcome.kind, OutcomeKind::NoSolution);
        EXPECT_EQ(outcome.texts, texts);
        EXPECT_EQ(outcome.orange, cellsOf(text).set(40));
    }
}

} // namespace
} // namespace kaleno
