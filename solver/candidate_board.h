#pragma once

#include "grid.h"

#include <array>
#include <cstdint>

namespace kaleno {

/// The candidates of a grid under search, and the deductions that keep them tight.
///
/// One bit board per digit and band: for digit d (index 0..8 for 1..9) and band b (rows 3b to
/// 3b + 2), a 27-bit mask of the cells where d may still go, bit 9 * (row - 3b) + column. A
/// cell is solved once a digit was placed in it; it then keeps that one candidate.
///
/// Propagation removes only candidates that no completion of the board can use, so a board
/// keeps every completion it had; it never guesses. It applies, until nothing changes:
///   - a cell with one candidate takes it;
///   - a row or a column with one place for a digit puts it there;
///   - within a band, each row holds the digit in exactly one box and each box in exactly one
///     row: a row/box pairing that belongs to no one-to-one matching of the three rows with the
///     three boxes loses its candidates. The same holds for the columns and boxes of a stack.
///     (This covers hidden singles in boxes and every locked-candidates case.)
/// A cell, row, column or box left without a place for a digit is a contradiction.
class CandidateBoard
{
public:
    /// Digits as a 9-bit mask: bit d - 1 for digit d.
    using DigitMask = std::uint16_t;

    /// Loads the givens (0 for a free cell, digits 1..9) and propagates. False when the givens
    /// contradict each other or leave no completion that propagation alone can see.
    bool load(const Grid &givens);

    /// Puts `digit` (1..9) into `cell` and propagates. False on a contradiction, after which
    /// the board is of no further use.
    bool place(int cell, int digit);

    /// Removes the digits of `digits` from the candidates of `cell` and propagates. False on a
    /// contradiction, as for place().
    bool remove(int cell, DigitMask digits);

    bool isSolved() const { return (m_unsolved[0] | m_unsolved[1] | m_unsolved[2]) == 0; }

    /// The lowest-numbered cell that is not solved, or -1 when the board is solved.
    int firstUnsolvedCell() const;

    /// The ways one constraint of the board can still be met, each a digit in a cell: the
    /// candidates of a cell, or the places of a digit in a row, column or box. They exclude
    /// each other and every completion takes one of them, so trying each in turn searches
    /// the whole board.
    struct Branch
    {
        int count = 0;
        std::array<std::uint8_t, GridSize> cells {};
        std::array<std::uint8_t, GridSize> digits {};
    };

    /// The constraint with the fewest ways left (two when there is one); cell candidates in
    /// ascending digit order, places in ascending cell order. Empty when the board is solved.
    Branch branch() const;

    /// The candidates of the first unsolved cell, in ascending order. Empty when the board is
    /// solved.
    Branch firstCellBranch() const;

    DigitMask candidates(int cell) const;

    /// The digit of a solved cell; 0 for a cell that is not solved.
    int digitAt(int cell) const;

    /// The digits of the solved cells, 0 elsewhere.
    Grid grid() const;

private:
    bool assign(int digitIndex, int band, int position);
    bool updateDigit(int digitIndex);
    bool placeNakedSingles(bool &placedAny);
    bool propagate();

    std::array<std::uint32_t, 27> m_cells {}; // index 9 * band + digitIndex
    std::array<std::uint32_t, 27> m_settled {}; // m_cells as the last update of the digit left them
    std::array<std::uint32_t, 3> m_unsolved {};
    std::uint32_t m_dirtyDigits = 0; // digits whose boards changed since their last update
};

} // namespace kaleno
