#include "grids.h"
#include "reference_search.h"

#include <gtest/gtest.h>

namespace kaleno {
namespace {

using namespace testing;

// A grid store holding `text` as the solve command leaves it after reading the cells.
Module_Sudoku storeOf(std::string_view text)
{
    const Grid digits = grid(text);
    Module_Sudoku store;
    for (int cell = 0; cell < CellCount; ++cell) {
        store.CellValue(cell + 1) = digits[cell];
        store.GivenValue(cell + 1) = digits[cell];
    }
    return store;
}

TEST(ReferenceSearch, FillsAnEmptyGridWithTheSmallestCompletion)
{
    const SearchResult result = referenceSolve(grid(EmptyGrid));
    EXPECT_EQ(result.end, SearchEnd::Completed);
    EXPECT_EQ(gridText(result.grid), EmptyGridCompletion);
}

TEST(ReferenceSearch, SolvesTheSamplePuzzle)
{
    const SearchResult result = referenceSolve(grid(SamplePuzzle));
    EXPECT_EQ(result.end, SearchEnd::Completed);
    EXPECT_EQ(gridText(result.grid), SampleSolution);
}

TEST(ReferenceSearch, ReturnsTheSmallestOfSeveralCompletions)
{
    // Cells 4, 6, 22 and 24 of the sample solution hold 5 4 / 4 5 in two boxes: blanked, they
    // fit either way round, and the smaller way puts 4 first.
    std::string text(SampleSolution);
    for (int cell : {4, 6, 22, 24})
        text[static_cast<std::size_t>(cell)] = '.';
    std::string smallest(SampleSolution);
    smallest[4] = '4';
    smallest[6] = '5';
    smallest[22] = '5';
    smallest[24] = '4';
    const SearchResult result = referenceSolve(grid(text));
    EXPECT_EQ(result.end, SearchEnd::Completed);
    EXPECT_EQ(gridText(result.grid), smallest);
}

TEST(ReferenceSearch, StopsAtOnceWhenTheFirstFreeCellHasNoValue)
{
    // Cells 2..9 hold 2..9 and cell 10 holds 1: nothing fits cell 1.
    Module_Sudoku store = storeOf("."
                                  "23456789"
                                  "1"
        + std::string(71, '.'));
    ReferenceSearch search;
    EXPECT_EQ(search.run(store), SearchEnd::Exhausted);
    EXPECT_EQ(search.placements(), 0u);
    EXPECT_EQ(store.CellValue(1), 0);
}

TEST(ReferenceSearch, LeavesTheFirstFreeCellOnItsLastValueWhenExhausted)
{
    // Cells 2..8 hold 1..7, cell 18 holds 8, cell 27 holds 9: cell 1 tries 8, then 9, and each
    // time cell 9 finds no value.
    std::string text(81, '.');
    const std::string row = "1234567";
    text.replace(1, 7, row);
    text[17] = '8';
    text[26] = '9';
    Module_Sudoku store = storeOf(text);
    ReferenceSearch search;
    EXPECT_EQ(search.run(store), SearchEnd::Exhausted);
    EXPECT_EQ(store.CellValue(1), 9);
    EXPECT_EQ(store.CellValue(9), 0);
    EXPECT_EQ(search.placements(), 2u);
    EXPECT_EQ(search.CurrentCell, 1);
    EXPECT_EQ(search.FirstFreeCell, 1);
}

TEST(ReferenceSearch, CallsAFullGridUnsolvable)
{
    // Taken literally the search has no free cell to start from; the solve core handles this.
    Module_Sudoku store = storeOf(SampleSolution);
    ReferenceSearch search;
    EXPECT_EQ(search.run(store), SearchEnd::Exhausted);
    EXPECT_EQ(search.FirstFreeCell, 82);
}

TEST(ReferenceSearch, StopsAtTheStepLimit)
{
    const SearchResult full = referenceSolve(grid(SamplePuzzle));
    ASSERT_EQ(full.end, SearchEnd::Completed);
    EXPECT_EQ(referenceSolve(grid(SamplePuzzle), full.placements).end, SearchEnd::Completed);
    const SearchResult bounded = referenceSolve(grid(SamplePuzzle), full.placements - 1);
    EXPECT_EQ(bounded.end, SearchEnd::StepLimit);
    EXPECT_EQ(bounded.placements, full.placements - 1);
}

} // namespace
} // namespace kaleno
