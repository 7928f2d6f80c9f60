#include "errors.h"
#include "module_sudoku.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace kaleno {
namespace {

using testing::runtimeErrorOf;

// NextFreeCell or PreviousFreeCell from `from`, the listed cells given as -3: any nonzero
// value, negative ones included, marks a cell as given.
struct CursorCase
{
    bool forwards; // NextFreeCell, else PreviousFreeCell
    std::vector<int> givens;
    int from;
    int expected; // the result, or the error number when `error` is set
    int scanAfter; // ScanIndex after the call, preset to 1234
    bool error = false;
};

std::ostream &operator<<(std::ostream &out, const CursorCase &c)
{
    return out << (c.forwards ? "NextFreeCell(" : "PreviousFreeCell(") << c.from << ")";
}

class FreeCellCursor : public ::testing::TestWithParam<CursorCase>
{
};

TEST_P(FreeCellCursor, FindsTheFreeCellAndLeavesScanIndexOnIt)
{
    const CursorCase &c = GetParam();
    Module_Sudoku store;
    for (int cell : c.givens)
        store.GivenValue(cell) = -3;
    store.ScanIndex = 1234;
    const auto from = static_cast<std::int16_t>(c.from);
    auto call
        = [&] { return c.forwards ? store.NextFreeCell(from) : store.PreviousFreeCell(from); };
    EXPECT_EQ(c.error ? runtimeErrorOf(call) : call(), c.expected);
    EXPECT_EQ(store.ScanIndex, c.scanAfter);
}

constexpr bool Next = true, Previous = false;

INSTANTIATE_TEST_SUITE_P(Table, FreeCellCursor,
    ::testing::Values(CursorCase {Next, {5, 6, 7}, 4, 8, 8}, CursorCase {Next, {}, 81, 82, 1234},
        CursorCase {Next, {79, 80, 81}, 78, 82, 82}, CursorCase {Next, {}, 32767, 6, 1234, true},
        CursorCase {Previous, {5, 6, 7}, 8, 4, 4}, CursorCase {Previous, {1, 2, 3}, 4, 0, 0},
        CursorCase {Previous, {}, 0, 9, -1, true},
        CursorCase {Previous, {}, -32768, 6, 1234, true}));

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
        }
    }
}

TEST(TryValue, ValuesOutsideOneToNineNeverBlock)
{
    Module_Sudoku store;
    store.CellValue(2) = -3;
    store.CellValue(10) = 12;
    for (std::int16_t n = 1; n <= 9; ++n)
        EXPECT_EQ(store.TryValue(1, n), n);
}

} // namespace
} // namespace kaleno
