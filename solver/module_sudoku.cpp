#include "module_sudoku.h"

#include "conversions.h"

namespace kaleno {

namespace {

// The quotient of a real division, floored; the cell arithmetic is defined that way, which
// only differs from C++'s truncating division for negative arguments.
long floorDiv(long a, long b)
{
    const long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

} // namespace

std::int16_t Module_Sudoku::NextFreeCell(std::int16_t k)
{
    if (k == 81)
        return 82;
    ScanIndex = checkedInt16(k + 1L);
    for (;;) {
        if (GivenValue(ScanIndex) == 0)
            return ScanIndex;
        ScanIndex = checkedInt16(ScanIndex + 1L);
        if (ScanIndex > 81)
            return ScanIndex;
    }
}

std::int16_t Module_Sudoku::PreviousFreeCell(std::int16_t k)
{
    ScanIndex = checkedInt16(k - 1L);
    while (GivenValue(ScanIndex) != 0)
        ScanIndex = checkedInt16(ScanIndex - 1L);
    return ScanIndex;
}

std::int16_t Module_Sudoku::TryValue(std::int16_t k, std::int16_t n)
{
    // Remainders keep the sign of k, quotients are floored, as the runtime computes them.
    const long m = k % 9;
    const long column = m == 0 ? 9 : m;
    const long row = m == 0 ? k / 9 : floorDiv(k, 9) + 1;

    for (long x = column; x <= column + 72; x += 9) {
        if (CellValue(x) == n)
            return 0;
    }
    const long rowStart = 9 * (row - 1) + 1;
    for (long x = rowStart; x <= rowStart + 8; ++x) {
        if (CellValue(x) == n)
            return 0;
    }

    const long q = floorDiv(k, 27);
    const long band = k % 27 == 0 ? q - 1 : q;
    const long p = floorDiv(column, 3);
    const long stack = column % 3 == 0 ? p - 1 : p;
    const std::int16_t topLeft = checkedInt16(27 * band + 3 * stack + 1);
    for (long i = 0; i <= 2; ++i) {
        for (long j = 0; j <= 2; ++j) {
            LoopIndex = checkedInt16(topLeft + 9 * i + j);
            if (CellValue(LoopIndex) == n)
                return 0;
        }
    }
    return n;
}

} // namespace kaleno
