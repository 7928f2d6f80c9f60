#pragma once

#include "runtime_error.h"

#include <array>
#include <cstdint>

namespace kaleno {

/// 82 signed 16-bit slots, 0..81, indexed like the cells (slot 0 belongs to no cell). Every
/// access checks its index and throws RuntimeError 9 outside 0..81.
class CellArray
{
public:
    static constexpr int SlotCount = 82;

    std::int16_t &operator()(long index)
    {
        check(index);
        return m_slots[static_cast<std::size_t>(index)];
    }
    std::int16_t operator()(long index) const
    {
        check(index);
        return m_slots[static_cast<std::size_t>(index)];
    }

private:
    static void check(long index)
    {
        if (index < 0 || index >= SlotCount) [[unlikely]]
            throw RuntimeError(ErrorNumber::SubscriptOutOfRange);
    }

    std::array<std::int16_t, SlotCount> m_slots {};
};

/// The grid store of the solve and the three cell procedures its search runs on.
///
/// Cells are numbered 1..81 row by row; 0 stands before the first cell and 82 after the last.
/// A cell is free when its GivenValue slot is 0. Slots may hold any 16-bit value: a given of 12
/// or -3 marks its cell as given and never blocks a candidate.
///
/// Arithmetic follows the 16-bit rules of the runtime: a cursor leaving -32768..32767 throws
/// RuntimeError 6, an index outside 0..81 RuntimeError 9. None of it is re-entrant.
class Module_Sudoku
{
public:
    CellArray CellValue; ///< the working grid: slot k is the current value of cell k
    CellArray GivenValue; ///< the values read at the start of the solve; nonzero = given
    std::int16_t ScanIndex = 0; ///< the cursor of NextFreeCell and PreviousFreeCell
    std::int16_t LoopIndex = 0; ///< shared loop index; TryValue's box scan runs on it

    /// The smallest j with k < j <= 81 and GivenValue(j) = 0, else 82. ScanIndex holds the
    /// result afterwards, except after NextFreeCell(81), which returns 82 and leaves it alone.
    /* 0 <= k <= 81 */
    std::int16_t NextFreeCell(std::int16_t k);

    /// The largest j with 0 <= j < k and GivenValue(j) = 0; slot 0, never given, ends the scan.
    /// ScanIndex holds the result afterwards.
    /* 1 <= k <= 81 */
    std::int16_t PreviousFreeCell(std::int16_t k);

    /// n when no cell of the column, row or box of cell k (k itself included) holds n in
    /// CellValue, else 0. Scans the column top to bottom, then the row, then the box row by row,
    /// returning at the first match; LoopIndex holds the last box cell it looked at.
    /* 1 <= k <= 81, 1 <= n <= 9 */
    std::int16_t TryValue(std::int16_t k, std::int16_t n);
};

} // namespace kaleno
