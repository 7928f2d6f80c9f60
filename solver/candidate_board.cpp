#include "candidate_board.h"

#include <bit>

namespace kaleno {

namespace {

constexpr std::uint32_t RowBits = 0x1FF; // the nine cells of one row of a band
constexpr std::uint32_t BandBits = 0x7FFFFFF; // the 27 cells of a band

struct Tables
{
    // The boxes (bit k for box k of the band) that the set cells of a row touch.
    std::array<std::uint8_t, 512> rowBoxes {};
    // For a 3×3 incidence matrix (bit 3i + j: line i meets box j), the union of the one-to-one
    // matchings of lines with boxes that it contains; 0 when it contains none.
    std::array<std::uint16_t, 512> matched {};
    // For a row/box incidence matrix, the band cells where those rows and boxes meet.
    std::array<std::uint32_t, 512> rowBoxCells {};
    // For a set of columns (bit c for column c), their cells in a band.
    std::array<std::uint32_t, 512> columnCells {};
    // The other cells of the row and the box of a cell, within its band.
    std::array<std::uint32_t, 27> bandPeers {};
};

constexpr Tables makeTables()
{
    Tables t;
    constexpr int permutations[6][3]
        = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};
    for (std::uint32_t m = 0; m < 512; ++m) {
        for (int box = 0; box < 3; ++box) {
            if (m & (7u << (3 * box)))
                t.rowBoxes[m] = static_cast<std::uint8_t>(t.rowBoxes[m] | (1u << box));
        }
        std::uint32_t matched = 0;
        for (const auto &p : permutations) {
            const std::uint32_t matching = (1u << p[0]) | (1u << (3 + p[1])) | (1u << (6 + p[2]));
            if ((m & matching) == matching)
                matched |= matching;
        }
        t.matched[m] = static_cast<std::uint16_t>(matched);
        for (int row = 0; row < 3; ++row) {
            for (int box = 0; box < 3; ++box) {
                if (m & (1u << (3 * row + box)))
                    t.rowBoxCells[m] |= 7u << (9 * row + 3 * box);
            }
        }
        for (int column = 0; column < 9; ++column) {
            if (m & (1u << column))
                t.columnCells[m] |= (1u | 1u << 9 | 1u << 18) << column;
        }
    }
    for (int position = 0; position < 27; ++position) {
        const int row = position / 9, box = position % 9 / 3;
        const std::uint32_t peers = (RowBits << (9 * row)) | t.rowBoxCells[1u << (3 * 0 + box)]
            | t.rowBoxCells[1u << (3 * 1 + box)] | t.rowBoxCells[1u << (3 * 2 + box)];
        t.bandPeers[static_cast<std::size_t>(position)] = peers & ~(1u << position);
    }
    return t;
}

constexpr Tables tables = makeTables();

int lowestBit(std::uint32_t bits)
{
    return std::countr_zero(bits);
}

} // namespace

bool CandidateBoard::load(const Grid &givens)
{
    m_cells.fill(BandBits);
    m_settled.fill(0);
    m_unsolved.fill(BandBits);
    m_dirtyDigits = 0;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (givens[cell] != 0 && !assign(givens[cell] - 1, cell / 27, cell % 27))
            return false;
    }
    return propagate();
}

bool CandidateBoard::place(int cell, int digit)
{
    return assign(digit - 1, cell / 27, cell % 27) && propagate();
}

bool CandidateBoard::remove(int cell, DigitMask digits)
{
    const int band = cell / 27;
    const std::uint32_t bit = 1u << (cell % 27);
    for (int d = 0; d < GridSize; ++d) {
        std::uint32_t &cells = m_cells[static_cast<std::size_t>(9 * band + d)];
        if ((digits & (1u << d)) && (cells & bit)) {
            if (!(m_unsolved[static_cast<std::size_t>(band)] & bit))
                return false; // the digit the cell is solved with
            cells &= ~bit;
            m_dirtyDigits |= 1u << d;
        }
    }
    return propagate();
}

int CandidateBoard::firstUnsolvedCell() const
{
    for (int band = 0; band < 3; ++band) {
        if (m_unsolved[static_cast<std::size_t>(band)])
            return 27 * band + lowestBit(m_unsolved[static_cast<std::size_t>(band)]);
    }
    return -1;
}

namespace {

// Appends the candidates of `cell` to `branch`, one option a digit.
void addCellOptions(CandidateBoard::Branch &branch, int cell, unsigned digits)
{
    for (; digits; digits &= digits - 1) {
        branch.cells[static_cast<std::size_t>(branch.count)] = static_cast<std::uint8_t>(cell);
        branch.digits[static_cast<std::size_t>(branch.count)]
            = static_cast<std::uint8_t>(std::countr_zero(digits) + 1);
        ++branch.count;
    }
}

} // namespace

CandidateBoard::Branch CandidateBoard::firstCellBranch() const
{
    Branch branch;
    const int cell = firstUnsolvedCell();
    if (cell >= 0)
        addCellOptions(branch, cell, candidates(cell));
    return branch;
}

CandidateBoard::Branch CandidateBoard::branch() const
{
    Branch branch;
    auto takeCell = [&](int cell) { addCellOptions(branch, cell, candidates(cell)); };
    // `places` holds cells of one digit as three band masks.
    auto takePlaces = [&](int d, const std::uint32_t(&places)[3]) {
        for (int band = 0; band < 3; ++band) {
            for (std::uint32_t bits = places[band]; bits; bits &= bits - 1) {
                branch.cells[static_cast<std::size_t>(branch.count)]
                    = static_cast<std::uint8_t>(27 * band + lowestBit(bits));
                branch.digits[static_cast<std::size_t>(branch.count)]
                    = static_cast<std::uint8_t>(d + 1);
                ++branch.count;
            }
        }
    };

    // A cell with two candidates.
    for (int band = 0; band < 3; ++band) {
        // Bit-sliced counts of the candidates of every cell of the band at once.
        std::uint32_t ones = 0, twos = 0, threes = 0;
        for (int d = 0; d < GridSize; ++d) {
            const std::uint32_t cells = m_cells[static_cast<std::size_t>(9 * band + d)];
            threes |= twos & cells;
            twos |= ones & cells;
            ones |= cells;
        }
        const std::uint32_t pairs = m_unsolved[static_cast<std::size_t>(band)] & twos & ~threes;
        if (pairs) {
            takeCell(27 * band + lowestBit(pairs));
            return branch;
        }
    }

    // A digit with two places left in a row, box or column.
    auto exactlyTwo = [](std::uint32_t bits) {
        const std::uint32_t rest = bits & (bits - 1);
        return rest != 0 && (rest & (rest - 1)) == 0;
    };
    for (int d = 0; d < GridSize; ++d) {
        const std::uint32_t a[3] = {m_cells[static_cast<std::size_t>(d)],
            m_cells[static_cast<std::size_t>(9 + d)], m_cells[static_cast<std::size_t>(18 + d)]};
        for (int band = 0; band < 3; ++band) {
            std::uint32_t places[3] = {0, 0, 0};
            for (int row = 0; row < 3; ++row) {
                places[band] = a[band] & (RowBits << (9 * row));
                if (exactlyTwo(places[band])) {
                    takePlaces(d, places);
                    return branch;
                }
            }
            for (int box = 0; box < 3; ++box) {
                places[band] = a[band] & tables.rowBoxCells[0111u << box];
                if (exactlyTwo(places[band])) {
                    takePlaces(d, places);
                    return branch;
                }
            }
        }
        // Columns: two places over the three bands, in one band or in two.
        const std::uint32_t c0 = (a[0] | a[0] >> 9 | a[0] >> 18) & RowBits;
        const std::uint32_t c1 = (a[1] | a[1] >> 9 | a[1] >> 18) & RowBits;
        const std::uint32_t c2 = (a[2] | a[2] >> 9 | a[2] >> 18) & RowBits;
        for (std::uint32_t columns = (c0 | c1 | c2); columns; columns &= columns - 1) {
            const std::uint32_t cells = tables.columnCells[columns & (0u - columns)];
            std::uint32_t places[3] = {a[0] & cells, a[1] & cells, a[2] & cells};
            // Fold the column's nine cells into one word to count them.
            const std::uint32_t folded = places[0] | places[1] << 1 | places[2] << 2;
            if (exactlyTwo(folded)) {
                takePlaces(d, places);
                return branch;
            }
        }
    }

    // Otherwise the cell with the fewest candidates, counted for all cells of a band at once.
    int bestCell = -1, fewest = GridSize + 1;
    for (int band = 0; band < 3; ++band) {
        std::uint32_t counts[4] = {0, 0, 0, 0}; // bit planes of each cell's candidate count
        for (int d = 0; d < GridSize; ++d) {
            std::uint32_t carry = m_cells[static_cast<std::size_t>(9 * band + d)];
            for (std::uint32_t &plane : counts) {
                const std::uint32_t next = plane & carry;
                plane ^= carry;
                carry = next;
            }
        }
        for (std::uint32_t cells = m_unsolved[static_cast<std::size_t>(band)]; cells;
             cells &= cells - 1) {
            const int position = lowestBit(cells);
            int count = 0;
            for (int plane = 0; plane < 4; ++plane)
                count |= static_cast<int>((counts[plane] >> position) & 1u) << plane;
            if (count < fewest) {
                fewest = count;
                bestCell = 27 * band + position;
            }
        }
    }
    if (bestCell >= 0)
        takeCell(bestCell);
    return branch;
}

CandidateBoard::DigitMask CandidateBoard::candidates(int cell) const
{
    const int band = cell / 27, position = cell % 27;
    unsigned mask = 0;
    for (int d = 0; d < GridSize; ++d)
        mask |= ((m_cells[static_cast<std::size_t>(9 * band + d)] >> position) & 1u) << d;
    return static_cast<DigitMask>(mask);
}

int CandidateBoard::digitAt(int cell) const
{
    if (m_unsolved[static_cast<std::size_t>(cell / 27)] & (1u << (cell % 27)))
        return 0;
    const DigitMask mask = candidates(cell);
    return mask ? lowestBit(mask) + 1 : 0;
}

Grid CandidateBoard::grid() const
{
    Grid digits {};
    for (int band = 0; band < 3; ++band) {
        const std::uint32_t solved = ~m_unsolved[static_cast<std::size_t>(band)];
        for (int d = 0; d < GridSize; ++d) {
            for (std::uint32_t bits = m_cells[static_cast<std::size_t>(9 * band + d)] & solved;
                 bits; bits &= bits - 1)
                digits[static_cast<std::size_t>(27 * band + lowestBit(bits))]
                    = static_cast<std::uint8_t>(d + 1);
        }
    }
    return digits;
}

// Puts digit index d into the cell at `position` of `band`: the other digits leave the cell,
// and d leaves the cell's row, box and column.
bool CandidateBoard::assign(int d, int band, int position)
{
    const std::uint32_t bit = 1u << position;
    std::uint32_t *cells = &m_cells[static_cast<std::size_t>(9 * band)];
    if (!(cells[d] & bit))
        return false;
    if (!(m_unsolved[static_cast<std::size_t>(band)] & bit))
        return true; // already solved with d
    const std::uint32_t own = cells[d];
    std::uint32_t touched = 0;
    for (int e = 0; e < GridSize; ++e) {
        touched |= ((cells[e] >> position) & 1u) << e;
        cells[e] &= ~bit;
    }
    cells[d] = own & ~tables.bandPeers[static_cast<std::size_t>(position)];
    const std::uint32_t column = tables.columnCells[1u << (position % 9)];
    for (int other = 0; other < 3; ++other) {
        if (other != band)
            m_cells[static_cast<std::size_t>(9 * other + d)] &= ~column;
    }
    m_unsolved[static_cast<std::size_t>(band)] &= ~bit;
    m_dirtyDigits |= touched | 1u << d;
    return true;
}

// The deductions of one digit alone: its row/box and column/box matchings, then its hidden
// singles in rows and columns.
bool CandidateBoard::updateDigit(int d)
{
    std::uint32_t a[3], settled[3];
    unsigned changedBands = 0;
    for (int band = 0; band < 3; ++band) {
        a[band] = m_cells[static_cast<std::size_t>(9 * band + d)];
        settled[band] = m_settled[static_cast<std::size_t>(9 * band + d)];
        changedBands |= (a[band] != settled[band] ? 1u : 0u) << band;
    }
    if (!changedBands)
        return true; // as the last update left it: nothing new to find
    for (;;) {
        // Rows and boxes of each band that changed.
        for (int band = 0; band < 3; ++band) {
            if (!(changedBands & (1u << band)))
                continue;
            const std::uint32_t x = a[band];
            const std::uint32_t incidence = tables.rowBoxes[x & RowBits]
                | tables.rowBoxes[(x >> 9) & RowBits] << 3 | tables.rowBoxes[x >> 18] << 6;
            const std::uint32_t matched = tables.matched[incidence];
            if (!matched)
                return false;
            a[band] = x & tables.rowBoxCells[matched];
        }
        // The same for the stacks, with bands in place of rows and columns in place of boxes.
        std::uint32_t occupied[3];
        for (int band = 0; band < 3; ++band)
            occupied[band] = (a[band] | a[band] >> 9 | a[band] >> 18) & RowBits;
        std::uint32_t keep[3] = {0, 0, 0};
        for (int stack = 0; stack < 3; ++stack) {
            const int shift = 3 * stack;
            const std::uint32_t incidence = ((occupied[0] >> shift) & 7)
                | ((occupied[1] >> shift) & 7) << 3 | ((occupied[2] >> shift) & 7) << 6;
            const std::uint32_t matched = tables.matched[incidence];
            if (!matched)
                return false;
            for (int band = 0; band < 3; ++band)
                keep[band] |= ((matched >> (3 * band)) & 7) << shift;
        }
        changedBands = 0;
        for (int band = 0; band < 3; ++band) {
            const std::uint32_t kept = a[band] & tables.columnCells[keep[band]];
            changedBands |= (kept != a[band] ? 1u : 0u) << band;
            a[band] = kept;
        }
        if (!changedBands)
            break; // the columns took nothing: the rows and boxes stand as they are
    }
    for (int band = 0; band < 3; ++band) {
        m_cells[static_cast<std::size_t>(9 * band + d)] = a[band];
        m_settled[static_cast<std::size_t>(9 * band + d)] = a[band];
    }

    // Hidden singles. Rows: a row with one place left. Columns: one place over the three bands.
    std::uint32_t singles[3], one[3], two[3];
    for (int band = 0; band < 3; ++band) {
        const std::uint32_t x = a[band];
        const std::uint32_t r0 = x & RowBits, r1 = (x >> 9) & RowBits, r2 = x >> 18;
        singles[band] = ((r0 & (r0 - 1)) ? 0 : r0) | ((r1 & (r1 - 1)) ? 0 : r1) << 9
            | ((r2 & (r2 - 1)) ? 0 : r2) << 18;
        one[band] = r0 | r1 | r2;
        two[band] = (r0 & r1) | (r0 & r2) | (r1 & r2);
    }
    const std::uint32_t twiceOrMore
        = two[0] | two[1] | two[2] | (one[0] & one[1]) | (one[0] & one[2]) | (one[1] & one[2]);
    const std::uint32_t lonelyColumns = (one[0] | one[1] | one[2]) & ~twiceOrMore;
    for (int band = 0; band < 3; ++band) {
        singles[band] |= a[band] & tables.columnCells[lonelyColumns & one[band]];
        std::uint32_t fresh = singles[band] & m_unsolved[static_cast<std::size_t>(band)];
        while (fresh) {
            if (!assign(d, band, lowestBit(fresh)))
                return false;
            fresh &= fresh - 1;
        }
    }
    return true;
}

bool CandidateBoard::placeNakedSingles(bool &placedAny)
{
    for (int band = 0; band < 3; ++band) {
        std::uint32_t ones = 0, twos = 0;
        for (int d = 0; d < GridSize; ++d) {
            const std::uint32_t cells = m_cells[static_cast<std::size_t>(9 * band + d)];
            twos |= ones & cells;
            ones |= cells;
        }
        const std::uint32_t unsolved = m_unsolved[static_cast<std::size_t>(band)];
        if (unsolved & ~ones)
            return false; // a cell without candidates
        std::uint32_t singles = unsolved & ~twos;
        while (singles) {
            const int position = lowestBit(singles);
            singles &= singles - 1;
            int d = 0;
            while (d < GridSize
                && !(m_cells[static_cast<std::size_t>(9 * band + d)] & (1u << position)))
                ++d;
            // An earlier single of this pass may have taken the cell's last candidate.
            if (d == GridSize || !assign(d, band, position))
                return false;
            placedAny = true;
        }
    }
    return true;
}

bool CandidateBoard::propagate()
{
    for (;;) {
        while (m_dirtyDigits) {
            const int d = lowestBit(m_dirtyDigits);
            m_dirtyDigits &= m_dirtyDigits - 1;
            if (!updateDigit(d))
                return false;
        }
        bool placedAny = false;
        if (!placeNakedSingles(placedAny))
            return false;
        if (!placedAny)
            return true;
    }
}

} // namespace kaleno
