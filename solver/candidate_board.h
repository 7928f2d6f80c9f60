#pragma once

#include "engine_build.h"
#include "grid.h"

#include <array>
#include <cstdint>
#include <optional>

namespace kaleno::KALENO_ENGINE_BUILD {

/// The candidates of a grid under search, and the deductions that keep them tight.
///
/// Bit layout: the grid is three bands of three rows. For digit index d (0..8 for 1..9) and
/// band b, one 27-bit mask holds the cells of the band where d may still go, bit
/// 9 * (row - 3b) + column; that mask is the board's unit 9b + d. A cell is solved once a digit
/// was placed in it; it then keeps that one candidate.
///
/// Propagation removes only candidates that no completion of the board can use, so a board
/// keeps every completion it had; it never guesses. It applies, until nothing changes:
///   - within a band, each row holds a digit in exactly one box and each box in exactly one
///     row: a row/box pairing that belongs to no one-to-one matching of the band's rows with
///     its boxes loses its candidates; the same holds for the bands and columns of a stack.
///     This covers every locked-candidates case, and a row, column or box with one place left
///     for a digit ends up with that place alone in its row;
///   - a digit alone in its row is placed: the cell loses its other candidates and the digit
///     leaves the cell's column in the other bands;
///   - a cell with one candidate takes it.
/// A cell, row, column or box left without a place for a digit is a contradiction.
/// settleTriads() goes further, where it pays.
class CandidateBoard
{
public:
    /// Digits as a 9-bit mask: bit d - 1 for digit d.
    using DigitMask = std::uint16_t;

    /// The grid's bands of three rows, the cells of one band, and the board's units.
    static constexpr int BandCount = 3;
    static constexpr int BandCells = CellCount / BandCount;
    static constexpr int UnitCount = GridSize * BandCount;

    /// A place in row-major order: the digits of a grid's first cells, held in the board's
    /// layout so that keepBelow() and keepAbove() can compare a board with it quickly.
    class Bound
    {
    public:
        /// All the cells of a solved board: the completion it holds.
        /* solved.isSolved() */
        explicit Bound(const CandidateBoard &solved);
        /// The cells of `board` before `cell`, all solved, then `digit` in `cell`.
        Bound(const CandidateBoard &board, int cell, int digit);

    private:
        friend class CandidateBoard;
        int digitAt(int cell) const;

        int m_length = CellCount;
        std::array<std::uint32_t, UnitCount> m_cells {}; // per unit, the cells of its digit
    };

    /// Loads the givens (0 for a free cell, digits 1..9) and propagates. False when the givens
    /// contradict each other, leave no completion that propagation alone can see, or hold a
    /// value above 9.
    bool load(const Grid &givens);

    /// Looks at the triads, the three cells where a row or a column meets a box, which hold
    /// three different digits: a triad where only three digits may go holds those three, and
    /// they leave the rest of its line and its box; a triad where three digits of its line (or
    /// box) must go keeps those three alone. Then propagates, and again until the triads give
    /// nothing more. False on a contradiction. It pays on a loaded grid, where grids with no
    /// completion that the other rules cannot see often end; below each layout keepLayout()
    /// looks at them once. After a cell's placement the other rules find most of what it would.
    bool settleTriads();

    /// Puts `digit` (1..9) into `cell` and propagates. False on a contradiction, after which
    /// the board is of no further use.
    bool place(int cell, int digit);

    /// Keeps to the completions that come before `bound`, a whole completion, in row-major
    /// order: removes the candidates that only completions at or after it use, and propagates.
    /// False when the board holds no completion before `bound`, after which it is of no
    /// further use. `changed` tells whether the board lost any candidate.
    bool keepBelow(const Bound &bound, bool &changed);

    /// Keeps to the completions whose first cells come at or after those of `bound` in
    /// row-major order, the same way.
    bool keepAbove(const Bound &bound, bool &changed);

    bool isSolved() const { return (m_unsolved[0] | m_unsolved[1] | m_unsolved[2]) == 0; }

    /// The lowest-numbered cell that is not solved, or -1 when the board is solved.
    int firstUnsolvedCell() const;

    /// A digit with two places left in one row, column or box: it goes in one of them, so the
    /// two placements exclude each other and every completion takes one of them.
    struct TwoPlaces
    {
        int digit = 0;
        std::array<int, 2> cells {}; // in ascending order
    };

    /// The options a search that wants a small tree branches over: the candidates of a cell
    /// with two (of those, the first with the most unsolved cells in its row, column and box:
    /// placing its digit tells the most), else a digit with two places (`places` set, and -1
    /// given), else the candidates of the first cell with the fewest (its number given). -1
    /// and `places` unset when the board is solved.
    int narrowestChoice(std::optional<TwoPlaces> &places) const;

    /// The ways one digit's three places in a band can meet the band's three boxes (one row of
    /// the band in each box), or in a stack its three columns (one band in each column): six
    /// at most, the layouts. They exclude each other and every completion takes one of them.
    struct Layouts
    {
        int digit = 0;
        int band = 0; // or stack, when `vertical`
        bool vertical = false;
        unsigned ways = 0; // bit p for the p-th layout
    };

    /// Which of the bands and stacks with equally few layouts fewestLayouts() takes: bands
    /// come before stacks, and each in order.
    enum class OfEquals { First, Last };

    /// Of the bands and stacks where some digit has more than one layout left, the one with
    /// the fewest over its nine digits, and there the digit with the fewest: the ways left of
    /// the choice that tells the most about a band. Unset when every digit has one layout left
    /// everywhere.
    std::optional<Layouts> fewestLayouts(OfEquals ofEquals = OfEquals::First) const;

    /// The ways of `layouts` that the board still allows.
    unsigned layoutsLeft(const Layouts &layouts) const;

    /// Keeps the `way`-th layout of `layouts` alone, propagates and looks at the triads: a search
    /// that branches on layouts is on a tight grid, where the triads cut its tree by a fifth
    /// and its worst grids by more. False on a contradiction. `next` gets what fewestLayouts()
    /// gives for the board it leaves, read mostly from what the triads read.
    bool keepLayout(const Layouts &layouts, int way, std::optional<Layouts> &next);

    DigitMask candidates(int cell) const;

    /// The candidates of all cells together, a solved cell's one included.
    int candidateCount() const;

    /// The digits of the solved cells, 0 elsewhere.
    Grid grid() const;

private:
    // Per cell of a band (bit as in a unit): whether it has at least one, two, three
    // candidates.
    struct Multiplicity
    {
        std::uint32_t once = 0, twice = 0, thrice = 0;
    };

    static int unitIndex(int digitIndex, int band) { return GridSize * band + digitIndex; }
    std::uint32_t &unit(int digitIndex, int band) { return m_units[unitIndex(digitIndex, band)]; }
    std::uint32_t unit(int digitIndex, int band) const
    {
        return m_units[unitIndex(digitIndex, band)];
    }
    std::uint32_t &unsolved(int band) { return m_unsolved[band]; }
    std::uint32_t unsolved(int band) const { return m_unsolved[band]; }

    Multiplicity multiplicity(int band) const;
    // The digits (1 to 9) of the cells of `band` in `cells` as four masks: mask k holds the
    // cells whose digit has bit k. Only a cell with one candidate reads as its digit; in the
    // others the masks mix their candidates.
    static constexpr int DigitBits = 4;
    std::array<std::uint32_t, DigitBits> digitPlanes(int band, std::uint32_t cells) const;
    int firstCellApartFrom(const Bound &bound) const;
    int cellWithTwoCandidates() const;
    int firstCellWithFewestCandidates() const;
    std::optional<TwoPlaces> digitWithTwoPlaces() const;

    void assign(int digitIndex, int band, int position);
    std::uint32_t solveCells(int digitIndex, int band, std::uint32_t own, std::uint32_t cells);
    void remove(int index, std::uint32_t cells);
    std::uint32_t removeCells(int index, std::uint32_t cells);
    std::uint32_t removeFromOtherDigits(
        int digitIndex, int band, std::uint32_t own, std::uint32_t cells);
    bool updateUnit(int index, std::uint32_t &pendingUnits);
    std::uint32_t unmatchedStacks(std::array<std::uint32_t, GridSize> &columns) const;
    bool matchStacks(int digitIndex, std::uint32_t columns);
    bool placeNakedSingles(unsigned bands, bool &placedAny);
    bool propagate();
    std::uint32_t columnsOfDigit(int digitIndex) const;
    unsigned layoutsOf(int digitIndex, int band, bool vertical) const;
    // Per digit: its three bands' row/box incidences side by side (bit 9b + 3i + k for row i
    // of band b and box k), the lines of those that meet one box, and the columns where it has
    // a place (bit 9b + c). What the triads and the layouts are read from.
    struct Shapes
    {
        std::array<std::uint32_t, GridSize> incidences {}, loneLines {}, columns {};
    };
    Shapes shapes() const;
    static std::optional<Layouts> fewestLayouts(
        const Shapes &read, OfEquals ofEquals = OfEquals::First);
    bool narrowTriads(bool &narrowed, Shapes &read);
    bool narrowTriad(int triad, const std::array<std::uint64_t, GridSize> &may,
        const std::array<std::uint64_t, GridSize> &must);

    std::array<std::uint32_t, UnitCount> m_units {};
    // Per digit, the columns (bit 9b + c, as columnsOfDigit()) where it had a place when its
    // stacks were last matched: stacks whose bands still have the same columns give nothing new.
    std::array<std::uint32_t, GridSize> m_matchedColumns {};
    std::array<std::uint32_t, BandCount> m_unsolved {}; // per band, the cells not yet solved
    std::uint32_t m_pendingUnits = 0; // bit 9b + d: a unit that lost cells since its update
};

} // namespace kaleno::KALENO_ENGINE_BUILD

namespace kaleno {
using KALENO_ENGINE_BUILD::CandidateBoard;
} // namespace kaleno
