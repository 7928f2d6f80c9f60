#include "errors.h"
#include "module_sudoku.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace kaleno {
namespace {

using testing::runtimeErrorOf;

// A grid store whose listed cells are given (value 5); all the others are free.
Module_Sudoku storeWithGivens(const std::vector<int> &givenCells)
{
    Module_Sudoku store;
    for (int cell : givenCells) {
        store.GivenValue(cell) = 5;
        store.CellValue(cell) = 5;
    }
    return store;
}

TEST(CellArray, ChecksEveryIndex)
{
    Module_Sudoku store;
    store.CellValue(81) = -3;
    EXPECT_EQ(store.CellValue(81), -3);
    EXPECT_EQ(store.CellValue(0), 0);
    EXPECT_EQ(runtimeErrorOf([&] { store.CellValue(82) = 1; }), 9);
    EXPECT_EQ(runtimeErrorOf([&] { return store.GivenValue(-1); }), 9);
}

// NextFreeCell and PreviousFreeCell from `from` over a store whose listed cells are given.
struct CursorCase
{
    const char *name;
    bool forwards; // NextFreeCell, else PreviousFreeCell
    std::vector<int> givens;
    int from;
    int expected; // the result, or the error number when `error` is set
    int scanAfter; // ScanIndex after the call, preset to 1234
    bool error = false;
};

std::ostream &operator<<(std::ostream &out, const CursorCase &c)
{
    return out << c.name;
}

class FreeCellCursor : public ::testing::TestWithParam<CursorCase>
{
};

TEST_P(FreeCellCursor, FindsTheFreeCellAndLeavesScanIndexOnIt)
{
    const CursorCase &c = GetParam();
    Module_Sudoku store = storeWithGivens(c.givens);
    store.ScanIndex = 1234;
    const auto from = static_cast<std::int16_t>(c.from);
    auto call
        = [&] { return c.forwards ? store.NextFreeCell(from) : store.PreviousFreeCell(from); };
    if (c.error)
        EXPECT_EQ(runtimeErrorOf(call), c.expected);
    else
        EXPECT_EQ(call(), c.expected);
    EXPECT_EQ(store.ScanIndex, c.scanAfter);
}

constexpr bool Next = true, Previous = false;

INSTANTIATE_TEST_SUITE_P(Table, FreeCellCursor,
    ::testing::Values(CursorCase {"NextFirstOfEmptyGrid", Next, {}, 0, 1, 1},
        CursorCase {"NextSkipsGivens", Next, {5, 6, 7}, 4, 8, 8},
        CursorCase {"NextFromLastCellIsPastTheEndAndKeepsScanIndex", Next, {}, 81, 82, 1234},
        CursorCase {"NextNoneAfterIsPastTheEnd", Next, {79, 80, 81}, 78, 82, 82},
        CursorCase {"NextFromMinusOneIsSlotZero", Next, {}, -1, 0, 0},
        CursorCase {"NextPastTheEndFails", Next, {}, 82, 9, 83, true},
        CursorCase {"NextBelowSlotZeroFails", Next, {}, -2, 9, -1, true},
        CursorCase {"NextCursorOverflowFails", Next, {}, 32767, 6, 1234, true},
        CursorCase {"PreviousNeighbour", Previous, {}, 40, 39, 39},
        CursorCase {"PreviousSkipsGivens", Previous, {5, 6, 7}, 8, 4, 4},
        CursorCase {"PreviousAllGivenBeforeIsSlotZero", Previous, {1, 2, 3}, 4, 0, 0},
        CursorCase {"PreviousFromPastTheEnd", Previous, {81}, 82, 80, 80},
        CursorCase {"PreviousFromSlotZeroFails", Previous, {}, 0, 9, -1, true},
        CursorCase {"PreviousFromBeyondPastTheEndFails", Previous, {}, 83, 9, 82, true},
        CursorCase {"PreviousCursorOverflowFails", Previous, {}, -32768, 6, 1234, true}),
    [](const auto &row) { return std::string(row.param.name); });

TEST(NextFreeCell, IsPastTheEndWhenEveryCellIsGiven)
{
    Module_Sudoku store;
    for (int cell = 1; cell <= 81; ++cell)
        store.GivenValue(cell) = static_cast<std::int16_t>(cell % 9 + 1);
    EXPECT_EQ(store.NextFreeCell(0), 82);
    EXPECT_EQ(store.ScanIndex, 82);
}

bool sharesUnit(int a, int b)
{
    const int rowA = (a - 1) / 9, rowB = (b - 1) / 9;
    const int columnA = (a - 1) % 9, columnB = (b - 1) % 9;
    return rowA == rowB || columnA == columnB
        || (rowA / 3 == rowB / 3 && columnA / 3 == columnB / 3);
}

TEST(TryValue, IsBlockedExactlyByTheCellsOfItsRowColumnAndBox)
{
    // Every cell against every cell: one 7 in the grid blocks 7 at cell k exactly when it
    // shares a row, a column or a box with k (k itself included).
    for (int k = 1; k <= 81; ++k) {
        for (int x = 1; x <= 81; ++x) {
            Module_Sudoku store;
            store.CellValue(x) = 7;
            EXPECT_EQ(store.TryValue(static_cast<std::int16_t>(k), 7), sharesUnit(k, x) ? 0 : 7)
                << "cell " << k << ", 7 at " << x;
            EXPECT_EQ(store.TryValue(static_cast<std::int16_t>(k), 3), 3);
        }
    }
}

TEST(TryValue, ValuesOutsideOneToNineNeverBlock)
{
    Module_Sudoku store;
    store.CellValue(2) = -3;
    store.CellValue(10) = 12;
    store.CellValue(11) = 0;
    for (std::int16_t n = 1; n <= 9; ++n)
        EXPECT_EQ(store.TryValue(1, n), n);
}

TEST(TryValue, BoxScanRunsOnLoopIndex)
{
    Module_Sudoku store;
    store.LoopIndex = 500;
    EXPECT_EQ(store.TryValue(81, 4), 4);
    EXPECT_EQ(store.LoopIndex, 81); // the box of cell 81 ends the scan: 61, 62, 63, ..., 81

    store.CellValue(33) = 4; // in the box of cell 41 (31, 32, 33, 40, ...), not its row or column
    EXPECT_EQ(store.TryValue(41, 4), 0);
    EXPECT_EQ(store.LoopIndex, 33);

    store.LoopIndex = 500;
    store.CellValue(5) = 6; // column of 41: found before the box scan
    EXPECT_EQ(store.TryValue(41, 6), 0);
    EXPECT_EQ(store.LoopIndex, 500);
}

TEST(TryValue, CellsOutsideTheGridFailWithIndexError)
{
    Module_Sudoku store;
    EXPECT_EQ(runtimeErrorOf([&] { store.TryValue(0, 5); }), 9);
    EXPECT_EQ(runtimeErrorOf([&] { store.TryValue(-4, 5); }), 9);
    EXPECT_EQ(runtimeErrorOf([&] { store.TryValue(90, 5); }), 9);
}

} // namespace
} // namespace kaleno
