#include "candidate_board.h"

#include "digit_lanes.h"

#include <bit>

namespace kaleno {

namespace {

constexpr int BandCount = CandidateBoard::BandCount;
constexpr int BoxSide = 3; // rows of a band, boxes of a band, columns of a box
constexpr int Triples = 3 * BoxSide; // the bits of a 3×3 incidence matrix

constexpr std::uint32_t RowBits = (1u << GridSize) - 1; // the nine cells of one row of a band
constexpr std::uint32_t BandBits = (1u << CandidateBoard::BandCells) - 1;
constexpr std::uint32_t TripleBits = (1u << BoxSide) - 1; // three boxes, rows or columns
constexpr std::uint32_t ColumnSpread = 1u | 1u << GridSize | 1u << 2 * GridSize; // bit c per row

/// The cells of a band in the columns of `columns` (bit c for column c).
constexpr std::uint32_t columnCells(std::uint32_t columns)
{
    return columns * ColumnSpread;
}

/// The columns (bit c for column c) where a band mask has a cell.
constexpr std::uint32_t columnsOf(std::uint32_t cells)
{
    return (cells | cells >> GridSize | cells >> 2 * GridSize) & RowBits;
}

constexpr std::uint32_t row(std::uint32_t cells, int index)
{
    return (cells >> (GridSize * index)) & RowBits;
}

struct Tables
{
    // The boxes (bit k for box k of the band) that the cells of one row touch.
    std::array<std::uint8_t, 1u << GridSize> rowBoxes {};
    // A row's cells when it has exactly one, 0 otherwise.
    std::array<std::uint16_t, 1u << GridSize> lone {};
    // For a 3×3 incidence matrix (bit 3i + j: line i meets box j), the union of the one-to-one
    // matchings of lines with boxes that it contains; 0 when it contains none.
    std::array<std::uint16_t, 1u << Triples> matched {};
    // For a row/box incidence matrix, the band cells where the matched rows and boxes meet; 0
    // when no matching exists.
    std::array<std::uint32_t, 1u << Triples> matchedCells {};
    // The other cells of the row and the box of a cell, within its band.
    std::array<std::uint32_t, CandidateBoard::BandCells> bandPeers {};
    // The digit index and the band of each unit.
    std::array<std::uint8_t, CandidateBoard::UnitCount> unitDigit {}, unitBand {};
};

constexpr std::uint32_t rowBoxCells(int rowIndex, int box)
{
    return TripleBits << (GridSize * rowIndex + BoxSide * box);
}

constexpr Tables makeTables()
{
    Tables t;
    constexpr int permutations[6][BoxSide]
        = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (std::uint32_t m = 0; m < (1u << Triples); ++m) {
        for (int box = 0; box < BoxSide; ++box) {
            if (m & (TripleBits << (BoxSide * box)))
                t.rowBoxes[m] = static_cast<std::uint8_t>(t.rowBoxes[m] | (1u << box));
        }
        if (std::has_single_bit(m))
            t.lone[m] = static_cast<std::uint16_t>(m);
        std::uint32_t matched = 0;
        for (const auto &p : permutations) {
            std::uint32_t matching = 0;
            for (int line = 0; line < BoxSide; ++line)
                matching |= 1u << (BoxSide * line + p[line]);
            if ((m & matching) == matching)
                matched |= matching;
        }
        t.matched[m] = static_cast<std::uint16_t>(matched);
        for (int line = 0; line < BoxSide; ++line) {
            for (int box = 0; box < BoxSide; ++box) {
                if (matched & (1u << (BoxSide * line + box)))
                    t.matchedCells[m] |= rowBoxCells(line, box);
            }
        }
    }
    for (int position = 0; position < CandidateBoard::BandCells; ++position) {
        const int rowIndex = position / GridSize, box = position % GridSize / BoxSide;
        std::uint32_t peers = RowBits << (GridSize * rowIndex);
        for (int line = 0; line < BoxSide; ++line)
            peers |= rowBoxCells(line, box);
        t.bandPeers[static_cast<std::size_t>(position)] = peers & ~(1u << position);
    }
    for (int band = 0; band < BandCount; ++band) {
        for (int d = 0; d < GridSize; ++d) {
            const auto index = static_cast<std::size_t>(GridSize * band + d);
            t.unitDigit[index] = static_cast<std::uint8_t>(d);
            t.unitBand[index] = static_cast<std::uint8_t>(band);
        }
    }
    return t;
}

constexpr Tables tables = makeTables();

int lowestBit(std::uint32_t bits)
{
    return std::countr_zero(bits);
}

/// The 3×3 row/box incidence of a band mask: bit 3i + j when row i has a cell in box j.
std::uint32_t rowBoxIncidence(std::uint32_t cells)
{
    return tables.rowBoxes[row(cells, 0)] | tables.rowBoxes[row(cells, 1)] << BoxSide
        | tables.rowBoxes[row(cells, 2)] << 2 * BoxSide;
}

/// The cells of a band mask that are alone in their row.
std::uint32_t aloneInTheirRows(std::uint32_t cells)
{
    return tables.lone[row(cells, 0)] | tables.lone[row(cells, 1)] << GridSize
        | tables.lone[row(cells, 2)] << 2 * GridSize;
}

/// The cell of `band` and `position` in row-major numbering.
int cellAt(int band, int position)
{
    return CandidateBoard::BandCells * band + position;
}

} // namespace

bool CandidateBoard::load(const Grid &givens)
{
    m_units.fill(BandBits);
    m_unsolved.fill(BandBits);
    m_stackColumns.fill(0);
    m_pendingUnits = (1u << UnitCount) - 1;
    m_pendingStacks = (1u << GridSize) - 1;
    for (int cell = 0; cell < CellCount; ++cell) {
        const int digit = givens[static_cast<std::size_t>(cell)];
        if (digit == 0)
            continue;
        const int band = cell / BandCells, position = cell % BandCells;
        if (!(unit(digit - 1, band) & (1u << position)))
            return false; // a given before it holds the digit in its row, column or box
        assign(digit - 1, band, position);
    }
    return propagate();
}

bool CandidateBoard::place(int cell, int digit)
{
    const int band = cell / BandCells, position = cell % BandCells;
    const std::uint32_t bit = 1u << position;
    if (!(unit(digit - 1, band) & bit))
        return false;
    if (!(unsolved(band) & bit))
        return true; // already solved, and with this digit
    assign(digit - 1, band, position);
    return propagate();
}

bool CandidateBoard::eliminate(int cell, int digit)
{
    const int band = cell / BandCells;
    const std::uint32_t bit = 1u << (cell % BandCells);
    std::uint32_t &cells = unit(digit - 1, band);
    if (!(cells & bit))
        return true;
    if (!(unsolved(band) & bit))
        return false; // the digit the cell is solved with
    cells &= ~bit;
    m_pendingUnits |= 1u << unitIndex(digit - 1, band);
    return propagate();
}

int CandidateBoard::firstUnsolvedCell() const
{
    for (int band = 0; band < BandCount; ++band) {
        if (unsolved(band))
            return cellAt(band, lowestBit(unsolved(band)));
    }
    return -1;
}

int CandidateBoard::fewestCandidatesCell() const
{
    // Bit planes of every cell's candidate count, for all the cells of a band at once.
    constexpr int Planes = 4;
    std::array<std::array<std::uint32_t, Planes>, BandCount> counts {};
    for (int band = 0; band < BandCount; ++band) {
        std::uint32_t ones = 0, twos = 0, threes = 0;
        for (int d = 0; d < GridSize; ++d) {
            const std::uint32_t cells = unit(d, band);
            threes |= twos & cells;
            twos |= ones & cells;
            ones |= cells;
        }
        const std::uint32_t pairs = unsolved(band) & twos & ~threes;
        if (pairs)
            return cellAt(band, lowestBit(pairs));
    }
    int bestCell = -1, fewest = GridSize + 1;
    for (int band = 0; band < BandCount; ++band) {
        auto &planes = counts[static_cast<std::size_t>(band)];
        for (int d = 0; d < GridSize; ++d) {
            std::uint32_t carry = unit(d, band);
            for (std::uint32_t &plane : planes) {
                const std::uint32_t next = plane & carry;
                plane ^= carry;
                carry = next;
            }
        }
        for (std::uint32_t cells = unsolved(band); cells; cells &= cells - 1) {
            const int position = lowestBit(cells);
            int count = 0;
            for (int plane = 0; plane < Planes; ++plane)
                count
                    |= static_cast<int>((planes[static_cast<std::size_t>(plane)] >> position) & 1u)
                    << plane;
            if (count < fewest) {
                fewest = count;
                bestCell = cellAt(band, position);
            }
        }
    }
    return bestCell;
}

CandidateBoard::DigitMask CandidateBoard::candidates(int cell) const
{
    const int band = cell / BandCells, position = cell % BandCells;
    unsigned mask = 0;
    for (int d = 0; d < GridSize; ++d)
        mask |= ((unit(d, band) >> position) & 1u) << d;
    return static_cast<DigitMask>(mask);
}

Grid CandidateBoard::grid() const
{
    Grid digits {};
    for (int band = 0; band < BandCount; ++band) {
        const std::uint32_t solved = ~unsolved(band);
        for (int d = 0; d < GridSize; ++d) {
            for (std::uint32_t bits = unit(d, band) & solved; bits; bits &= bits - 1)
                digits[static_cast<std::size_t>(cellAt(band, lowestBit(bits)))]
                    = static_cast<std::uint8_t>(d + 1);
        }
    }
    return digits;
}

// Puts digit index d into the cell at `position` of `band`: d leaves the cell's row and box,
// then the cell is solved.
void CandidateBoard::assign(int d, int band, int position)
{
    remove(unitIndex(d, band), tables.bandPeers[static_cast<std::size_t>(position)]);
    solveCells(d, band, 1u << position);
}

// Removes `cells` from the units of every digit of `band`; bit d of the result tells that
// digit d lost any.
std::uint32_t CandidateBoard::removeFromBand(int band, std::uint32_t cells)
{
    std::uint32_t *const digits = &unit(0, band);
    std::uint32_t lostDigits = 0;
    for (int first = 0; first + DigitLanes::Count <= GridSize; first += DigitLanes::Count)
        lostDigits |= DigitLanes::remove(digits + first, cells) << first;
    constexpr int Last = GridSize - 1; // the digit left over after two groups of four
    const std::uint32_t lost = digits[Last] & cells;
    digits[Last] ^= lost;
    return lostDigits | static_cast<std::uint32_t>(lost != 0) << Last;
}

// Removes `cells` from a unit; a unit that lost any is pending.
void CandidateBoard::remove(std::size_t index, std::uint32_t cells)
{
    const std::uint32_t lost = m_units[index] & cells;
    m_units[index] ^= lost;
    m_pendingUnits |= static_cast<std::uint32_t>(lost != 0) << index;
}

// Marks `cells` of `band`, where d has no other place left in their rows, boxes or band, as
// solved with d: they lose every other candidate, and d leaves their columns in the other
// bands.
void CandidateBoard::solveCells(int d, int band, std::uint32_t cells)
{
    unsolved(band) &= ~cells;
    const std::uint32_t own = unit(d, band);
    m_pendingUnits |= (removeFromBand(band, cells) & ~(1u << d)) << unitIndex(0, band);
    unit(d, band) = own;
    const std::uint32_t columns = columnCells(columnsOf(cells));
    for (int other = 0; other < BandCount; ++other) {
        if (other != band)
            remove(unitIndex(d, other), columns);
    }
}

// The row/box matchings of one unit; then the digit's cells left alone in their rows are
// solved. Matching twice gives nothing new, so the unit is not pending afterwards.
bool CandidateBoard::updateUnit(std::size_t index)
{
    std::uint32_t cells = m_units[index];
    const std::uint32_t matched = tables.matchedCells[rowBoxIncidence(cells)];
    if (!matched)
        return false;
    cells &= matched;
    m_units[index] = cells;
    const int d = tables.unitDigit[index], band = tables.unitBand[index];
    if (columnsOf(cells) != matchedColumns(d, band))
        m_pendingStacks |= 1u << d;
    const std::uint32_t alone = aloneInTheirRows(cells) & unsolved(band);
    if (alone)
        solveCells(d, band, alone);
    return true;
}

std::uint32_t CandidateBoard::matchedColumns(int d, int band) const
{
    return (m_stackColumns[static_cast<std::size_t>(d)] >> (GridSize * band)) & RowBits;
}

// The column/band matchings of one digit's three stacks.
bool CandidateBoard::matchStacks(int d)
{
    std::array<std::uint32_t, BandCount> columns {}, keep {};
    for (int band = 0; band < BandCount; ++band)
        columns[static_cast<std::size_t>(band)] = columnsOf(unit(d, band));
    for (int stack = 0; stack < BoxSide; ++stack) {
        const int shift = BoxSide * stack;
        std::uint32_t incidence = 0;
        for (int band = 0; band < BandCount; ++band)
            incidence |= ((columns[static_cast<std::size_t>(band)] >> shift) & TripleBits)
                << (BoxSide * band);
        const std::uint32_t matched = tables.matched[incidence];
        if (!matched)
            return false;
        for (int band = 0; band < BandCount; ++band)
            keep[static_cast<std::size_t>(band)] |= ((matched >> (BoxSide * band)) & TripleBits)
                << shift;
    }
    std::uint32_t kept = 0;
    for (int band = 0; band < BandCount; ++band) {
        const std::uint32_t columnsKept
            = columns[static_cast<std::size_t>(band)] & keep[static_cast<std::size_t>(band)];
        remove(unitIndex(d, band), columnCells(~columnsKept & RowBits));
        kept |= columnsKept << (GridSize * band);
    }
    m_stackColumns[static_cast<std::size_t>(d)] = kept;
    return true;
}

bool CandidateBoard::placeNakedSingles(bool &placedAny)
{
    for (int band = 0; band < BandCount; ++band) {
        std::uint32_t ones = 0, twos = 0;
        for (int d = 0; d < GridSize; ++d) {
            const std::uint32_t cells = unit(d, band);
            twos |= ones & cells;
            ones |= cells;
        }
        if (unsolved(band) & ~ones)
            return false; // a cell without candidates
        for (std::uint32_t singles = unsolved(band) & ~twos; singles; singles &= singles - 1) {
            const int position = lowestBit(singles);
            int d = 0;
            while (d < GridSize && !(unit(d, band) & (1u << position)))
                ++d;
            // An earlier single of this pass may have taken the cell's last candidate.
            if (d == GridSize)
                return false;
            assign(d, band, position);
            placedAny = true;
        }
    }
    return true;
}

bool CandidateBoard::propagate()
{
    for (;;) {
        while (m_pendingUnits) {
            const auto index = static_cast<std::size_t>(lowestBit(m_pendingUnits));
            m_pendingUnits &= m_pendingUnits - 1;
            if (!updateUnit(index))
                return false;
        }
        if (m_pendingStacks) {
            for (; m_pendingStacks; m_pendingStacks &= m_pendingStacks - 1) {
                if (!matchStacks(lowestBit(m_pendingStacks)))
                    return false;
            }
            continue;
        }
        bool placedAny = false;
        if (!placeNakedSingles(placedAny))
            return false;
        if (!placedAny)
            return true;
    }
}

} // namespace kaleno
