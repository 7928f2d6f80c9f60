#include "candidate_board.h"

#include "digit_lanes.h"

#include <algorithm>
#include <bit>

#if defined(__BMI2__) || defined(__AVX2__)
#include <immintrin.h>
#endif

#include <cstddef>
#include <cstring>

namespace kaleno::KALENO_ENGINE_BUILD {

namespace {

constexpr int BandCount = CandidateBoard::BandCount;
constexpr int BandCells = CandidateBoard::BandCells;
constexpr int BoxSide = 3; // rows of a band, boxes of a band, columns of a box
constexpr int Triples = BoxSide * BoxSide; // the bits of a 3×3 incidence matrix

constexpr std::uint32_t RowBits = (1u << GridSize) - 1; // the nine cells of one row of a band
constexpr std::uint32_t BandBits = (1u << BandCells) - 1;
constexpr std::uint32_t TripleBits = (1u << BoxSide) - 1; // three boxes, rows or columns
constexpr std::uint32_t ColumnSpread = 1u | 1u << GridSize | 1u << 2 * GridSize; // bit c per row
constexpr std::uint32_t AllUnits = (1u << CandidateBoard::UnitCount) - 1;
constexpr std::uint32_t AllDigits = (1u << GridSize) - 1;

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

/// Row `index` (0..2) of a band mask, as nine bits.
constexpr std::uint32_t row(std::uint32_t cells, int index)
{
    return (cells >> (GridSize * index)) & RowBits;
}

/// The three cells where row `index` of a band meets box `box`.
constexpr std::uint32_t rowBoxCells(int index, int box)
{
    return TripleBits << (GridSize * index + BoxSide * box);
}

// Nine counts of up to 15, one per column: bits 4c to 4c + 3 for column c. Adding and
// subtracting such counts works column by column as long as none leaves 0..15.
using ColumnCounts = std::uint64_t;
constexpr int ColumnCountBits = 4;
constexpr ColumnCounts ColumnCountMask = (1u << ColumnCountBits) - 1;

constexpr int columnCount(ColumnCounts counts, int column)
{
    return static_cast<int>((counts >> (ColumnCountBits * column)) & ColumnCountMask);
}

// The one-to-one pairings of three lines with three boxes: line i with box permutations[p][i].
constexpr int Permutations = 6;
constexpr int permutations[Permutations][BoxSide]
    = {{0, 1, 2}, {0, 2, 1}, {1, 0, 2}, {1, 2, 0}, {2, 0, 1}, {2, 1, 0}};

struct Tables
{
    // The boxes (bit k for box k of the band) that the cells of one row touch.
    std::array<std::uint8_t, 1u << GridSize> rowBoxes {};
    // A row's cells when it has exactly one, 0 otherwise.
    std::array<std::uint16_t, 1u << GridSize> lone {};
    // The number of cells of a row.
    std::array<std::uint8_t, 1u << GridSize> rowCount {};
    // A row's cells as counts of one in their columns.
    std::array<ColumnCounts, 1u << GridSize> columnCounts {};
    // For a 3×3 incidence matrix (bit 3i + j: line i meets box j), the union of the one-to-one
    // matchings of lines with boxes that it contains; 0 when it contains none.
    std::array<std::uint16_t, 1u << Triples> matched {};
    // The same for a row/box incidence matrix, as the band cells where the matched rows and
    // boxes meet.
    std::array<std::uint32_t, 1u << Triples> matchedCells {};
    // The other cells of the row and the box of a cell, within its band.
    std::array<std::uint32_t, BandCells> bandPeers {};
    // The nine cells of each box of a band.
    std::array<std::uint32_t, BoxSide> boxCells {};
    // For a 3×3 incidence matrix, the pairings of lines with boxes it contains (bit p for
    // permutations[p]).
    std::array<std::uint8_t, 1u << Triples> ways {};
    std::array<std::uint8_t, 1u << Triples> layoutCount {}; // the number of those pairings
    // The cells of a band where its rows meet the boxes permutations[p] pairs them with.
    std::array<std::uint32_t, Permutations> layoutCells {};
    // The band after each band, the first after the last.
    std::array<std::uint8_t, BandCount> nextBand {1, 2, 0};
    // The digit index and the band of each unit.
    std::array<std::uint8_t, CandidateBoard::UnitCount> unitDigit {}, unitBand {};
    // Per cell, its row, column and box as bits of a GivenLines word (see load()).
    std::array<std::uint32_t, CellCount> cellLines {};
    // The cells of a band in some of its rows, or boxes (bit i for row or box i).
    std::array<std::uint32_t, 1u << BoxSide> rowsCells {}, boxesCells {};
};

// In load(), the lines that hold a digit's givens as one word: row r at bit r, column c at
// bit 9 + c, box k (numbered row by row) at bit 18 + k.
constexpr int GivenColumns = GridSize, GivenBoxes = 2 * GridSize;

constexpr Tables makeTables()
{
    Tables t;
    for (std::uint32_t m = 0; m < (1u << Triples); ++m) {
        for (int box = 0; box < BoxSide; ++box) {
            if (m & rowBoxCells(0, box))
                t.rowBoxes[m] = static_cast<std::uint8_t>(t.rowBoxes[m] | (1u << box));
        }
        if (std::has_single_bit(m))
            t.lone[m] = static_cast<std::uint16_t>(m);
        t.rowCount[m] = static_cast<std::uint8_t>(std::popcount(m));
        for (int column = 0; column < GridSize; ++column)
            t.columnCounts[m] |= ColumnCounts {(m >> column) & 1u} << (ColumnCountBits * column);
        std::uint32_t matched = 0;
        for (const auto &p : permutations) {
            std::uint32_t matching = 0;
            for (int line = 0; line < BoxSide; ++line)
                matching |= 1u << (BoxSide * line + p[line]);
            if ((m & matching) == matching)
                matched |= matching;
        }
        t.matched[m] = static_cast<std::uint16_t>(matched);
        for (int p = 0; p < Permutations; ++p) {
            bool fits = true;
            for (int line = 0; line < BoxSide; ++line)
                fits = fits && (m & (1u << (BoxSide * line + permutations[p][line])));
            if (fits)
                t.ways[m] = static_cast<std::uint8_t>(t.ways[m] | (1u << p));
        }
        for (int line = 0; line < BoxSide; ++line) {
            for (int box = 0; box < BoxSide; ++box) {
                if (matched & (1u << (BoxSide * line + box)))
                    t.matchedCells[m] |= rowBoxCells(line, box);
            }
        }
    }
    for (int position = 0; position < BandCells; ++position) {
        const int index = position / GridSize, box = position % GridSize / BoxSide;
        std::uint32_t peers = RowBits << (GridSize * index);
        for (int line = 0; line < BoxSide; ++line)
            peers |= rowBoxCells(line, box);
        t.bandPeers[position] = peers & ~(1u << position);
    }
    for (int box = 0; box < BoxSide; ++box) {
        for (int line = 0; line < BoxSide; ++line)
            t.boxCells[box] |= rowBoxCells(line, box);
    }
    for (int p = 0; p < Permutations; ++p) {
        for (int line = 0; line < BoxSide; ++line)
            t.layoutCells[p] |= rowBoxCells(line, permutations[p][line]);
    }
    for (std::uint32_t m = 0; m < (1u << Triples); ++m)
        t.layoutCount[m] = static_cast<std::uint8_t>(std::popcount(t.ways[m]));
    for (int band = 0; band < BandCount; ++band) {
        for (int d = 0; d < GridSize; ++d) {
            t.unitDigit[GridSize * band + d] = static_cast<std::uint8_t>(d);
            t.unitBand[GridSize * band + d] = static_cast<std::uint8_t>(band);
        }
    }
    for (int cell = 0; cell < CellCount; ++cell) {
        t.cellLines[cell] = 1u << rowOf(cell) | 1u << (GivenColumns + columnOf(cell))
            | 1u << (GivenBoxes + boxOf(cell));
    }
    for (std::uint32_t some = 0; some < (1u << BoxSide); ++some) {
        for (int index = 0; index < BoxSide; ++index) {
            if (some & (1u << index)) {
                t.rowsCells[some] |= RowBits << (GridSize * index);
                t.boxesCells[some] |= t.boxCells[index];
            }
        }
    }
    return t;
}

constexpr Tables tables = makeTables();

int lowestBit(std::uint32_t bits)
{
    return std::countr_zero(bits);
}

// Nine counts of up to 9 side by side, one per bit of the words added, held as bit slices.
struct TriadCounts
{
    std::uint64_t ones = 0, twos = 0, fours = 0, eights = 0;

    void add(std::uint64_t bits)
    {
        const std::uint64_t carry = ones & bits;
        ones ^= bits;
        const std::uint64_t carry2 = twos & carry;
        twos ^= carry;
        eights |= fours & carry2;
        fours ^= carry2;
    }
    std::uint64_t three() const { return ones & twos & ~fours & ~eights; }
    std::uint64_t belowThree() const { return ~(ones & twos) & ~fours & ~eights; }
    std::uint64_t aboveThree() const { return fours | eights; }
};

// In narrowTriads(), the triads of rows are bits 9b + 3i + k, for row i of band b and box k (a
// digit's row/box incidences side by side), and those of columns bits ColumnTriads + 9b + c, for
// column c of band b (the columns where a digit has a place, per band).
constexpr int ColumnTriads = 32;
constexpr std::uint64_t AllTriads
    = std::uint64_t {BandBits} | std::uint64_t {BandBits} << ColumnTriads;

// Masks for gathering bits; the wide build gathers them with BMI2's pext (bit k of the mask taken
// from each place where the other mask has a bit, in order) and puts them back with pdep.
constexpr std::uint32_t EveryThirdBit = 0x1249249u; // bit 3t of a band mask: triple t
constexpr std::uint32_t EachLine = EveryThirdBit; // the first bit of each line of incidences
#if defined(__BMI2__)
constexpr std::uint32_t StackColumns = 0x1C0E07u; // the first stack's columns of each band
#endif

/// The 3×3 row/box incidence of a band mask: bit 3i + j when row i has a cell in box j.
std::uint32_t rowBoxIncidence(std::uint32_t cells)
{
#if defined(__BMI2__)
    return _pext_u32(cells | cells >> 1 | cells >> 2, EveryThirdBit);
#else
    return tables.rowBoxes[row(cells, 0)] | tables.rowBoxes[row(cells, 1)] << BoxSide
        | tables.rowBoxes[row(cells, 2)] << 2 * BoxSide;
#endif
}

/// The cells of a band mask that are alone in their row.
std::uint32_t aloneInTheirRows(std::uint32_t cells)
{
    return tables.lone[row(cells, 0)] | tables.lone[row(cells, 1)] << GridSize
        | tables.lone[row(cells, 2)] << 2 * GridSize;
}

/// Of 3×3 incidence matrices side by side (three bits a line, from bit 0), the lines that meet
/// one box.
constexpr std::uint32_t loneLinesOf(std::uint32_t incidences)
{
    const std::uint32_t first = incidences & EachLine, second = (incidences >> 1) & EachLine,
                        third = (incidences >> 2) & EachLine;
    const std::uint32_t one = (first ^ second ^ third) & ~(first & second & third);
    return incidences & one * TripleBits;
}

#if defined(__AVX2__)
constexpr int LaneDigits = 8; // digits 0 to 7, a lane each of a 256-bit vector
constexpr std::uint32_t AllLanes = (1u << LaneDigits) - 1;

/// Each lane of `lanes` shifted right, or left, by `shift` bits.
__m256i shiftedRight(__m256i lanes, int shift)
{
    return _mm256_srl_epi32(lanes, _mm_cvtsi32_si128(shift));
}
__m256i shiftedLeft(__m256i lanes, int shift)
{
    return _mm256_sll_epi32(lanes, _mm_cvtsi32_si128(shift));
}

/// The bits of `mask` in each lane.
__m256i kept(__m256i lanes, std::uint32_t mask)
{
    return _mm256_and_si256(lanes, _mm256_set1_epi32(static_cast<int>(mask)));
}

/// Each lane's bits shifted right by `shift` and or-ed in, then `mask` kept.
__m256i folded(__m256i bits, int shift, std::uint32_t mask)
{
    return kept(_mm256_or_si256(bits, shiftedRight(bits, shift)), mask);
}

/// columnsOf(), a lane at a time.
__m256i columnsOfLanes(__m256i cells)
{
    return folded(folded(cells, 2 * GridSize, BandBits), GridSize, RowBits);
}

/// For digits 0 to 7, a lane each, the columns where they have a place, per band (bit 9b + c).
__m256i columnsOfEightDigits(const std::uint32_t *units)
{
    __m256i columns = _mm256_setzero_si256();
    for (int band = 0; band < BandCount; ++band) {
        __m256i cells;
        std::memcpy(&cells, units + std::ptrdiff_t {GridSize} * band, sizeof cells);
        columns = _mm256_or_si256(columns, shiftedLeft(columnsOfLanes(cells), GridSize * band));
    }
    return columns;
}

/// shapes() for digits 0 to 7 at once, a lane each: their three bands' row/box incidences side
/// by side, the lines of those that meet one box, and the columns where they have a place.
void readEightDigits(const std::uint32_t *units, std::uint32_t *incidences,
    std::uint32_t *loneLines, std::uint32_t *columns)
{
    __m256i allIncidences = _mm256_setzero_si256();
    // As loneLinesOf(), a lane at a time.
    const auto lone = [](__m256i matrices) {
        const __m256i first = kept(matrices, EachLine);
        const __m256i second = kept(_mm256_srli_epi32(matrices, 1), EachLine);
        const __m256i third = kept(_mm256_srli_epi32(matrices, 2), EachLine);
        const __m256i one
            = _mm256_andnot_si256(_mm256_and_si256(_mm256_and_si256(first, second), third),
                _mm256_xor_si256(_mm256_xor_si256(first, second), third));
        return _mm256_and_si256(matrices,
            _mm256_or_si256(
                _mm256_or_si256(one, _mm256_slli_epi32(one, 1)), _mm256_slli_epi32(one, 2)));
    };
    for (int band = 0; band < BandCount; ++band) {
        __m256i cells;
        std::memcpy(&cells, units + std::ptrdiff_t {GridSize} * band, sizeof cells);
        // The triples of each row (bit 3t for triple t), then gathered to bits 0 to 8: the
        // first eight in pairs, fours and eights, the last one apart.
        const __m256i triples = folded(folded(cells, 1, BandBits), 1, EveryThirdBit);
        __m256i incidence = folded(triples, 2, 0xC30C3u);
        incidence = folded(incidence, 4, 0xF00Fu);
        incidence = _mm256_or_si256(
            folded(incidence, 8, 0xFFu), kept(_mm256_srli_epi32(triples, 16), 1u << 8));
        allIncidences = _mm256_or_si256(allIncidences, shiftedLeft(incidence, GridSize * band));
    }
    const __m256i allLone = lone(allIncidences);
    std::memcpy(incidences, &allIncidences, sizeof allIncidences);
    std::memcpy(loneLines, &allLone, sizeof allLone);
    const __m256i allColumns = columnsOfEightDigits(units);
    std::memcpy(columns, &allColumns, sizeof allColumns);
}
#endif

/// The 3×3 column/band incidence of stack `stack` for a digit whose bands have a place in
/// `columns` (bit 9b + c for column c of band b): bit 3b + j when band b has a place in the
/// stack's column j.
std::uint32_t stackIncidence(std::uint32_t columns, int stack)
{
#if defined(__BMI2__)
    return _pext_u32(columns, StackColumns << (BoxSide * stack));
#else
    std::uint32_t incidence = 0;
    for (int band = 0; band < BandCount; ++band)
        incidence |= ((row(columns, band) >> (BoxSide * stack)) & TripleBits) << (BoxSide * band);
    return incidence;
#endif
}

/// The inverse of stackIncidence(): the columns of stack `stack` (bit 9b + c) that a 3×3
/// column/band incidence holds.
std::uint32_t stackColumns(std::uint32_t incidence, int stack)
{
#if defined(__BMI2__)
    return _pdep_u32(incidence, StackColumns << (BoxSide * stack));
#else
    std::uint32_t columns = 0;
    for (int band = 0; band < BandCount; ++band)
        columns |= ((incidence >> (BoxSide * band)) & TripleBits)
            << (GridSize * band + BoxSide * stack);
    return columns;
#endif
}

// In fewestLayouts(), a digit's numbers of layouts in the three bands, or in the three stacks, as
// one word: group g's at bit 9g, four bits each. Nine digits add up without a carry.
constexpr int LayoutCountShift = GridSize;
constexpr std::uint32_t LayoutCountMask = 0xFu;

#if defined(__AVX2__)
/// The layout counts of fewestLayouts() for digits 0 to 7 at once, a lane each, by arithmetic
/// rather than tables: a pairing of lines with boxes (or of bands with columns) fits where its
/// three incidences are all there, and the fitting ones are added up, each band's at its bit 9b
/// and each stack's at 3s, then moved to 9s.
void countEightDigitsLayouts(const std::uint32_t *incidences, const std::uint32_t *columns,
    std::uint32_t *inBands, std::uint32_t *inStacks)
{
    __m256i rows, bands;
    std::memcpy(&rows, incidences, sizeof rows);
    std::memcpy(&bands, columns, sizeof bands);
    // Row i of a band's incidences at bit 9b + 3i + k; band b of a stack's columns at 9b + 3s + j.
    const __m256i eachBand = _mm256_set1_epi32(0x40201), eachStack = _mm256_set1_epi32(0x49);
    __m256i bandCounts = _mm256_setzero_si256(), stackCounts = _mm256_setzero_si256();
    for (const auto &p : permutations) {
        const __m256i inBand = _mm256_and_si256(
            _mm256_and_si256(shiftedRight(rows, p[0]), shiftedRight(rows, BoxSide + p[1])),
            _mm256_and_si256(shiftedRight(rows, 2 * BoxSide + p[2]), eachBand));
        const __m256i inStack = _mm256_and_si256(
            _mm256_and_si256(shiftedRight(bands, p[0]), shiftedRight(bands, GridSize + p[1])),
            _mm256_and_si256(shiftedRight(bands, 2 * GridSize + p[2]), eachStack));
        bandCounts = _mm256_add_epi32(bandCounts, inBand);
        stackCounts = _mm256_add_epi32(stackCounts, inStack);
    }
    const __m256i three = _mm256_set1_epi32(0x7);
    stackCounts = _mm256_or_si256(_mm256_and_si256(stackCounts, three),
        _mm256_or_si256(
            _mm256_slli_epi32(_mm256_and_si256(_mm256_srli_epi32(stackCounts, 3), three), 9),
            _mm256_slli_epi32(_mm256_and_si256(_mm256_srli_epi32(stackCounts, 6), three), 18)));
    std::memcpy(inBands, &bandCounts, sizeof bandCounts);
    std::memcpy(inStacks, &stackCounts, sizeof stackCounts);
}
#endif

/// The number of cells of a band mask.
int cellCount(std::uint32_t cells)
{
    return tables.rowCount[row(cells, 0)] + tables.rowCount[row(cells, 1)]
        + tables.rowCount[row(cells, 2)];
}

/// The cell of `band` and `position` in row-major numbering.
int cellAt(int band, int position)
{
    return BandCells * band + position;
}

/// The units of one band as bits of a unit mask.
std::uint32_t bandUnits(int band)
{
    return AllDigits << (GridSize * band);
}

} // namespace

// A solved board's units hold each digit's cells and nothing else.
CandidateBoard::Bound::Bound(const CandidateBoard &solved) : m_cells(solved.m_units) { }

CandidateBoard::Bound::Bound(const CandidateBoard &board, int cell, int digit) : m_length(cell + 1)
{
    const int last = cell / BandCells, position = cell % BandCells;
    for (int band = 0; band <= last; ++band) {
        const std::uint32_t before = band < last ? BandBits : (1u << position) - 1;
        for (int d = 0; d < GridSize; ++d)
            m_cells[unitIndex(d, band)] = board.unit(d, band) & before;
    }
    m_cells[unitIndex(digit - 1, last)] |= 1u << position;
}

int CandidateBoard::Bound::digitAt(int cell) const
{
    const int band = cell / BandCells;
    const std::uint32_t bit = 1u << (cell % BandCells);
    int d = 0;
    while (!(m_cells[unitIndex(d, band)] & bit))
        ++d;
    return d + 1;
}

CandidateBoard::Multiplicity CandidateBoard::multiplicity(int band) const
{
    Multiplicity counted;
    for (int d = 0; d < GridSize; ++d) {
        const std::uint32_t cells = unit(d, band);
        counted.thrice |= counted.twice & cells;
        counted.twice |= counted.once & cells;
        counted.once |= cells;
    }
    return counted;
}

std::array<std::uint32_t, CandidateBoard::DigitBits> CandidateBoard::digitPlanes(
    int band, std::uint32_t cells) const
{
    std::array<std::uint32_t, DigitBits> planes {};
    for (int d = 0; d < GridSize; ++d) {
        const std::uint32_t held = unit(d, band) & cells;
        for (int bit = 0; bit < DigitBits; ++bit)
            planes[bit] |= ((d + 1) >> bit & 1) != 0 ? held : 0;
    }
    return planes;
}

// The givens are laid down all at once: a cell keeps digit d when it holds the given d, or when
// it holds no given and no given d shares its row, column or box. The same board as placing
// them one by one, without the work of each placement.
bool CandidateBoard::load(const Grid &givens)
{
    // Per digit, the lines that hold it (GivenLines); per unit, its givens.
    std::array<std::uint32_t, GridSize> lines {};
    std::array<std::uint32_t, UnitCount> given {};
    const auto lay = [&lines, &given, &givens](int cell) {
        const int digit = givens[static_cast<std::size_t>(cell)];
        if (digit > GridSize)
            return false;
        const int d = digit - 1;
        const std::uint32_t cellLines = tables.cellLines[cell];
        if (lines[d] & cellLines)
            return false; // a given before it holds the digit in its row, column or box
        lines[d] |= cellLines;
        given[unitIndex(d, cell / BandCells)] |= 1u << (cell % BandCells);
        return true;
    };
    // Eight cells at a time, and in those the cells with a given only; the last cell apart.
    constexpr int Word = sizeof(std::uint64_t), Whole = CellCount / Word * Word;
    constexpr std::uint64_t LowBits = 0x0101010101010101u, HighBits = LowBits << 7;
    for (int first = 0; first < Whole; first += Word) {
        std::uint64_t bytes = 0;
        std::memcpy(&bytes, &givens[static_cast<std::size_t>(first)], Word);
        if constexpr (std::endian::native == std::endian::big)
            bytes = __builtin_bswap64(bytes); // the first cell in the lowest byte
        // The high bit of each byte that is not 0.
        for (std::uint64_t held = (((bytes & ~HighBits) + ~HighBits) | bytes) & HighBits; held;
             held &= held - 1) {
            if (!lay(first + std::countr_zero(held) / Word))
                return false;
        }
    }
    for (int cell = Whole; cell < CellCount; ++cell) {
        if (givens[static_cast<std::size_t>(cell)] != 0 && !lay(cell))
            return false;
    }
    for (int band = 0; band < BandCount; ++band) {
        std::uint32_t givenCells = 0;
        for (int d = 0; d < GridSize; ++d)
            givenCells |= given[unitIndex(d, band)];
        unsolved(band) = BandBits & ~givenCells;
        for (int d = 0; d < GridSize; ++d) {
            const std::uint32_t excluded = givenCells
                | columnCells((lines[d] >> GivenColumns) & RowBits)
                | tables.rowsCells[(lines[d] >> (BoxSide * band)) & TripleBits]
                | tables.boxesCells[(lines[d] >> (GivenBoxes + BoxSide * band)) & TripleBits];
            unit(d, band) = (BandBits & ~excluded) | given[unitIndex(d, band)];
        }
    }
    m_matchedColumns.fill(0);
    m_pendingUnits = AllUnits;
    return propagate();
}

bool CandidateBoard::settleTriads()
{
    bool narrowed = true;
    Shapes read;
    while (narrowed && !isSolved()) {
        if (!narrowTriads(narrowed, read) || (narrowed && !propagate()))
            return false;
    }
    return true;
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

// The completions before the bound agree with it up to some cell and hold a smaller digit
// there. Up to the board's first cell not solved with the bound's digit, every completion of
// the board agrees with the bound; at that cell, digits above the bound's lead only to
// completions after it, and a cell left with the bound's digit alone takes it, which moves the
// question on to a later cell.
bool CandidateBoard::keepBelow(const Bound &bound, bool &changed)
{
    changed = false;
    for (;;) {
        const int cell = firstCellApartFrom(bound);
        if (cell < 0)
            return false; // the board holds the bound itself and nothing before it
        const int digit = bound.digitAt(cell);
        const unsigned digits = candidates(cell), own = 1u << (digit - 1);
        const unsigned below = digits & (own - 1), above = digits & ~(own | (own - 1));
        if (below) {
            if (!above)
                return true;
            const int band = cell / BandCells, position = cell % BandCells;
            for (unsigned left = above; left; left &= left - 1)
                remove(unitIndex(lowestBit(left), band), 1u << position);
            changed = true;
            return propagate();
        }
        changed = true;
        if (!(digits & own) || !place(cell, digit))
            return false;
    }
}

// The mirror of keepBelow(), for the completions at or after the bound's first cells: once the
// board is apart from them, at a cell before their end, digits below the bound's lead only to
// completions before it.
bool CandidateBoard::keepAbove(const Bound &bound, bool &changed)
{
    changed = false;
    for (;;) {
        const int cell = firstCellApartFrom(bound);
        if (cell < 0 || cell >= bound.m_length)
            return true; // every completion of the board starts with the bound's cells
        const int digit = bound.digitAt(cell);
        const unsigned digits = candidates(cell), own = 1u << (digit - 1);
        const unsigned below = digits & (own - 1), notBelow = digits & ~below;
        if (!below)
            return notBelow != 0;
        if (!notBelow)
            return false;
        changed = true;
        if (notBelow != own) {
            const int band = cell / BandCells, position = cell % BandCells;
            for (unsigned left = below; left; left &= left - 1)
                remove(unitIndex(lowestBit(left), band), 1u << position);
            return propagate();
        }
        if (!place(cell, digit))
            return false;
    }
}

// The lowest-numbered cell that is not solved with the bound's digit, -1 when there is none.
int CandidateBoard::firstCellApartFrom(const Bound &bound) const
{
    for (int band = 0; band < BandCount; ++band) {
        std::uint32_t agreeing = 0;
        for (int d = 0; d < GridSize; ++d)
            agreeing |= unit(d, band) & bound.m_cells[unitIndex(d, band)];
        const std::uint32_t apart = ~(agreeing & ~unsolved(band)) & BandBits;
        if (apart)
            return cellAt(band, lowestBit(apart));
    }
    return -1;
}

int CandidateBoard::firstUnsolvedCell() const
{
    for (int band = 0; band < BandCount; ++band) {
        if (unsolved(band))
            return cellAt(band, lowestBit(unsolved(band)));
    }
    return -1;
}

int CandidateBoard::narrowestChoice(std::optional<TwoPlaces> &places) const
{
    places.reset();
    const int pair = cellWithTwoCandidates();
    if (pair >= 0)
        return pair;
    places = digitWithTwoPlaces();
    return places ? -1 : firstCellWithFewestCandidates();
}

std::optional<CandidateBoard::TwoPlaces> CandidateBoard::digitWithTwoPlaces() const
{
    auto exactlyTwo = [](std::uint32_t cells) {
        const std::uint32_t rest = cells & (cells - 1);
        return rest != 0 && (rest & (rest - 1)) == 0;
    };
    auto inBand = [](int digitIndex, int band, std::uint32_t cells) {
        const std::uint32_t second = cells & (cells - 1);
        return TwoPlaces {digitIndex + 1,
            {cellAt(band, lowestBit(cells & ~second)), cellAt(band, lowestBit(second))}};
    };
    for (int d = 0; d < GridSize; ++d) {
        for (int band = 0; band < BandCount; ++band) {
            const std::uint32_t cells = unit(d, band) & unsolved(band);
            for (int index = 0; index < BoxSide; ++index) {
                const std::uint32_t inRow = cells & (RowBits << (GridSize * index));
                if (exactlyTwo(inRow))
                    return inBand(d, band, inRow);
                const std::uint32_t inBox = cells & tables.boxCells[index];
                if (exactlyTwo(inBox))
                    return inBand(d, band, inBox);
            }
        }
        // A column's nine cells, one bit a row.
        for (int column = 0; column < GridSize; ++column) {
            std::uint32_t rows = 0;
            for (int band = 0; band < BandCount; ++band) {
                const std::uint32_t cells = unit(d, band) & unsolved(band);
                for (int index = 0; index < BoxSide; ++index)
                    rows |= ((cells >> (GridSize * index + column)) & 1u)
                        << (BoxSide * band + index);
            }
            if (exactlyTwo(rows)) {
                const std::uint32_t second = rows & (rows - 1);
                return TwoPlaces {d + 1,
                    {lowestBit(rows & ~second) * GridSize + column,
                        lowestBit(second) * GridSize + column}};
            }
        }
    }
    return std::nullopt;
}

int CandidateBoard::cellWithTwoCandidates() const
{
    // Per band, and over the grid, how many cells of each column are unsolved.
    std::array<ColumnCounts, BandCount> inBand {};
    ColumnCounts inGrid = 0;
    for (int band = 0; band < BandCount; ++band) {
        for (int index = 0; index < BoxSide; ++index)
            inBand[band] += tables.columnCounts[row(unsolved(band), index)];
        inGrid += inBand[band];
    }
    int best = -1, mostPeers = -1;
    for (int band = 0; band < BandCount; ++band) {
        const Multiplicity counted = multiplicity(band);
        const ColumnCounts elsewhere = inGrid - inBand[band]; // in the other bands
        for (std::uint32_t pairs = unsolved(band) & counted.twice & ~counted.thrice; pairs;
             pairs &= pairs - 1) {
            const int position = lowestBit(pairs), column = position % GridSize;
            const int peers = cellCount(unsolved(band) & tables.bandPeers[position])
                + columnCount(elsewhere, column);
            if (peers > mostPeers) {
                mostPeers = peers;
                best = cellAt(band, position);
            }
        }
    }
    return best;
}

int CandidateBoard::firstCellWithFewestCandidates() const
{
    int bestCell = -1, fewest = GridSize + 1;
    for (int band = 0; band < BandCount; ++band) {
        for (std::uint32_t cells = unsolved(band); cells; cells &= cells - 1) {
            const int cell = cellAt(band, lowestBit(cells));
            const int count = tables.rowCount[candidates(cell)]; // nine bits, as a row
            if (count < fewest) {
                fewest = count;
                bestCell = cell;
            }
        }
    }
    return bestCell;
}

// Per digit, its three bands' row/box incidences side by side, their lines that meet one box,
// and the columns where it has a place, per band.
CandidateBoard::Shapes CandidateBoard::shapes() const
{
    Shapes read;
    int d = 0;
#if defined(__AVX2__)
    readEightDigits(
        m_units.data(), read.incidences.data(), read.loneLines.data(), read.columns.data());
    d = LaneDigits;
#endif
    for (; d < GridSize; ++d) {
        for (int band = 0; band < BandCount; ++band) {
            const std::uint32_t cells = unit(d, band);
            read.incidences[d] |= rowBoxIncidence(cells) << (GridSize * band);
            read.columns[d] |= columnsOf(cells) << (GridSize * band);
        }
        read.loneLines[d] = loneLinesOf(read.incidences[d]);
    }
    return read;
}

std::optional<CandidateBoard::Layouts> CandidateBoard::fewestLayouts(OfEquals ofEquals) const
{
    return fewestLayouts(shapes(), ofEquals);
}

std::optional<CandidateBoard::Layouts> CandidateBoard::fewestLayouts(
    const Shapes &read, OfEquals ofEquals)
{
    // Per digit, its layouts in each band and each stack; per band, then per stack, the
    // number over the nine digits. The choices below are minima of keys rather than branches,
    // which the search could not predict.
    std::array<std::uint32_t, GridSize> inBands {}, inStacks {};
    int first = 0;
#if defined(__AVX2__)
    countEightDigitsLayouts(
        read.incidences.data(), read.columns.data(), inBands.data(), inStacks.data());
    first = LaneDigits;
#endif
    for (int d = first; d < GridSize; ++d) {
        for (int group = 0; group < BoxSide; ++group) {
            inBands[d] |= std::uint32_t {tables.layoutCount[row(read.incidences[d], group)]}
                << (LayoutCountShift * group);
            inStacks[d]
                |= std::uint32_t {tables.layoutCount[stackIncidence(read.columns[d], group)]}
                << (LayoutCountShift * group);
        }
    }
    std::uint32_t bandTotals = 0, stackTotals = 0;
    for (int d = 0; d < GridSize; ++d) {
        bandTotals += inBands[d];
        stackTotals += inStacks[d];
    }
    std::array<unsigned, BandCount + BoxSide> totals {};
    for (int group = 0; group < BoxSide; ++group) {
        totals[group] = (bandTotals >> (LayoutCountShift * group)) & RowBits;
        totals[BandCount + group] = (stackTotals >> (LayoutCountShift * group)) & RowBits;
    }
    // The band or stack of fewest layouts among those with more than one per digit, the first
    // of equals or the last.
    constexpr unsigned IndexBits = 3, Settled = 0xFF, LastIndex = BandCount + BoxSide - 1;
    const bool last = ofEquals == OfEquals::Last;
    unsigned bestKey = ~0u;
    for (unsigned index = 0; index < BandCount + BoxSide; ++index) {
        const unsigned total = totals[index] > GridSize ? totals[index] : Settled;
        bestKey = std::min(bestKey, total << IndexBits | (last ? LastIndex - index : index));
    }
    if (bestKey >> IndexBits == Settled)
        return std::nullopt;
    const unsigned low = bestKey & ((1u << IndexBits) - 1);
    const int best = static_cast<int>(last ? LastIndex - low : low);
    const bool vertical = best >= BandCount;
    const int group = vertical ? best - BandCount : best;
    // There, the first digit of fewest layouts but more than one, and its layouts.
    const std::array<std::uint32_t, GridSize> &counts = vertical ? inStacks : inBands;
    constexpr unsigned DigitIndexBits = 4, Single = 0xF;
    unsigned digitKey = ~0u;
    for (unsigned d = 0; d < GridSize; ++d) {
        const unsigned count = (counts[d] >> (LayoutCountShift * group)) & LayoutCountMask;
        digitKey = std::min(digitKey, (count > 1 ? count : Single) << DigitIndexBits | d);
    }
    const int d = static_cast<int>(digitKey & ((1u << DigitIndexBits) - 1));
    const std::uint32_t matrix
        = vertical ? stackIncidence(read.columns[d], group) : row(read.incidences[d], group);
    return Layouts {d + 1, group, vertical, tables.ways[matrix]};
}

// The layouts left to digit index d in `band`, or in the stack of that number (`vertical`).
unsigned CandidateBoard::layoutsOf(int d, int band, bool vertical) const
{
    if (!vertical)
        return tables.ways[rowBoxIncidence(unit(d, band))];
    return tables.ways[stackIncidence(columnsOfDigit(d), band)];
}

unsigned CandidateBoard::layoutsLeft(const Layouts &layouts) const
{
    return layoutsOf(layouts.digit - 1, layouts.band, layouts.vertical) & layouts.ways;
}

bool CandidateBoard::keepLayout(const Layouts &layouts, int way, std::optional<Layouts> &next)
{
    const int d = layouts.digit - 1;
    if (!layouts.vertical) {
        remove(unitIndex(d, layouts.band), BandBits & ~tables.layoutCells[way]);
    } else {
        const std::uint32_t stackColumns = TripleBits << (BoxSide * layouts.band);
        for (int band = 0; band < BandCount; ++band) {
            const std::uint32_t kept = 1u << (BoxSide * layouts.band + permutations[way][band]);
            remove(unitIndex(d, band), columnCells(stackColumns & ~kept));
        }
    }
    next.reset();
    if (!propagate())
        return false;
    if (isSolved())
        return true;
    // One look at the triads: looking again until they give nothing more costs more than the
    // few candidates it would still find. Where they find nothing, the layouts are read from
    // what they read.
    bool narrowed = false;
    Shapes read;
    if (!narrowTriads(narrowed, read))
        return false;
    if (narrowed && !propagate())
        return false;
    next = narrowed ? fewestLayouts() : fewestLayouts(read);
    return true;
}

CandidateBoard::DigitMask CandidateBoard::candidates(int cell) const
{
    const int band = cell / BandCells, position = cell % BandCells;
    const std::uint32_t bit = 1u << position;
    const std::uint32_t *const digits = &m_units[static_cast<std::size_t>(unitIndex(0, band))];
    std::uint32_t mask = 0;
    int d = 0;
    for (; d + DigitLanes::Count <= GridSize; d += DigitLanes::Count)
        mask |= DigitLanes::holding(digits + d, bit) << d;
    for (; d < GridSize; ++d)
        mask |= static_cast<std::uint32_t>((digits[d] & bit) != 0) << d;
    return static_cast<DigitMask>(mask);
}

int CandidateBoard::candidateCount() const
{
    // Without a popcount instruction (x86-64 before v2): the bits of three units at a time
    // counted in four-bit fields (at most 12 each), those added up in eight-bit fields (at
    // most 216), then in sixteen-bit ones.
    std::uint32_t bytes = 0;
    for (int first = 0; first < UnitCount; first += BoxSide) {
        std::uint32_t nibbles = 0;
        for (int index = first; index < first + BoxSide; ++index) {
            const std::uint32_t cells = m_units[index];
            const std::uint32_t pairs = cells - ((cells >> 1) & 0x55555555u);
            nibbles += (pairs & 0x33333333u) + ((pairs >> 2) & 0x33333333u);
        }
        bytes += (nibbles & 0x0F0F0F0Fu) + ((nibbles >> 4) & 0x0F0F0F0Fu);
    }
    const std::uint32_t halves = (bytes & 0x00FF00FFu) + ((bytes >> 8) & 0x00FF00FFu);
    return static_cast<int>((halves & 0xFFFFu) + (halves >> 16));
}

Grid CandidateBoard::grid() const
{
    Grid digits {};
#if defined(__BMI2__)
    // Per band, the digits' four bits as four masks, then spread eight cells at a time into
    // eight bytes with pdep.
    constexpr std::uint64_t LowBitOfEachByte = 0x0101010101010101u;
    constexpr int Chunk = 8, Chunks = (BandCells + Chunk - 1) / Chunk;
    for (int band = 0; band < BandCount; ++band) {
        const std::array<std::uint32_t, DigitBits> planes = digitPlanes(band, ~unsolved(band));
        std::array<std::uint64_t, Chunks> bytes {};
        for (int chunk = 0; chunk < Chunks; ++chunk) {
            for (int bit = 0; bit < DigitBits; ++bit)
                bytes[chunk]
                    |= _pdep_u64((planes[bit] >> (Chunk * chunk)) & 0xFFu, LowBitOfEachByte) << bit;
        }
        std::memcpy(&digits[static_cast<std::size_t>(cellAt(band, 0))], bytes.data(), BandCells);
    }
#else
    for (int band = 0; band < BandCount; ++band) {
        const std::uint32_t solved = ~unsolved(band);
        for (int d = 0; d < GridSize; ++d) {
            for (std::uint32_t bits = unit(d, band) & solved; bits; bits &= bits - 1)
                digits[cellAt(band, lowestBit(bits))] = static_cast<std::uint8_t>(d + 1);
        }
    }
#endif
    return digits;
}

// Puts digit index d into the cell at `position` of `band`: d leaves the cell's row and box,
// then the cell is solved.
void CandidateBoard::assign(int d, int band, int position)
{
    const std::uint32_t own = unit(d, band), lost = own & tables.bandPeers[position];
    m_pendingUnits |= static_cast<std::uint32_t>(lost != 0) << unitIndex(d, band);
    m_pendingUnits |= solveCells(d, band, own ^ lost, 1u << position);
}

// Removes `cells` from a unit; a unit that lost any is pending.
void CandidateBoard::remove(int index, std::uint32_t cells)
{
    m_pendingUnits |= removeCells(index, cells);
}

// Removes `cells` from a unit, and gives its bit (as in m_pendingUnits) when it lost any.
std::uint32_t CandidateBoard::removeCells(int index, std::uint32_t cells)
{
    const std::uint32_t lost = m_units[index] & cells;
    m_units[index] ^= lost;
    return static_cast<std::uint32_t>(lost != 0) << index;
}

// Removes `cells` from the units of every digit of `band` but d, whose unit becomes `own`, and
// gives the bits of those that lost any.
std::uint32_t CandidateBoard::removeFromOtherDigits(
    int d, int band, std::uint32_t own, std::uint32_t cells)
{
    std::uint32_t *const digits = &unit(0, band);
    std::uint32_t lostDigits = 0;
    for (int first = 0; first + DigitLanes::Count <= GridSize; first += DigitLanes::Count)
        lostDigits |= DigitLanes::remove(digits + first, cells, d - first, own) << first;
    constexpr int Last = GridSize - 1; // the digit left over after the groups of lanes
    if (d == Last) {
        digits[Last] = own;
    } else {
        const std::uint32_t lost = digits[Last] & cells;
        digits[Last] ^= lost;
        lostDigits |= static_cast<std::uint32_t>(lost != 0) << Last;
    }
    return lostDigits << unitIndex(0, band);
}

// Marks `cells` of `band`, where d has no other place left in their rows, boxes or band, as
// solved with d: d's unit there becomes `own` (which holds them), they lose every other
// candidate, and d leaves their columns in the other bands. Gives the bits of the units that
// lost cells.
[[gnu::always_inline]] inline std::uint32_t CandidateBoard::solveCells(
    int d, int band, std::uint32_t own, std::uint32_t cells)
{
    unsolved(band) &= ~cells;
    const std::uint32_t columns = columnCells(columnsOf(cells));
    return removeFromOtherDigits(d, band, own, cells)
        | removeCells(unitIndex(d, tables.nextBand[band]), columns)
        | removeCells(unitIndex(d, tables.nextBand[tables.nextBand[band]]), columns);
}

// The row/box matchings of one unit; then the digit's cells left alone in their rows are
// solved. Matching twice gives nothing new, so the unit is not pending afterwards. Inlined in
// the loop of propagate(), where the call would cost a good part of what it does. A unit with
// cells to solve is written with its band's other digits (removeFromOtherDigits()).
[[gnu::always_inline]] inline bool CandidateBoard::updateUnit(
    int index, std::uint32_t &pendingUnits)
{
    const std::uint32_t before = m_units[index];
    const std::uint32_t matched = tables.matchedCells[rowBoxIncidence(before)];
    if (!matched)
        return false;
    const std::uint32_t cells = before & matched;
    const int band = tables.unitBand[index];
    // The cells alone in their rows are read from the unit as it was, alongside the matching
    // rather than after it; only where the matching took cells (about one update in four) are
    // they read again.
    std::uint32_t alone = aloneInTheirRows(before);
    if (cells != before) [[unlikely]]
        alone = aloneInTheirRows(cells);
    alone &= unsolved(band);
    if (alone)
        pendingUnits |= solveCells(tables.unitDigit[index], band, cells, alone);
    else
        m_units[index] = cells;
    return true;
}

// The columns where digit index d has a place, per band: bit 9b + c for column c of band b.
std::uint32_t CandidateBoard::columnsOfDigit(int d) const
{
    std::uint32_t columns = 0;
    for (int band = 0; band < BandCount; ++band)
        columns |= columnsOf(unit(d, band)) << (GridSize * band);
    return columns;
}

// The digits whose columns changed since their stacks were last matched; `columns` gets every
// digit's columnsOfDigit().
std::uint32_t CandidateBoard::unmatchedStacks(std::array<std::uint32_t, GridSize> &columns) const
{
    std::uint32_t digits = 0;
    int d = 0;
#if defined(__AVX2__)
    const __m256i now = columnsOfEightDigits(m_units.data());
    __m256i matched;
    std::memcpy(&matched, m_matchedColumns.data(), sizeof matched);
    std::memcpy(columns.data(), &now, sizeof now);
    digits = ~static_cast<std::uint32_t>(
                 _mm256_movemask_ps(_mm256_castsi256_ps(_mm256_cmpeq_epi32(now, matched))))
        & AllLanes;
    d = LaneDigits;
#endif
    for (; d < GridSize; ++d) {
        columns[d] = columnsOfDigit(d);
        digits |= static_cast<std::uint32_t>(columns[d] != m_matchedColumns[d]) << d;
    }
    return digits;
}

// The column/band matchings of one digit's three stacks, whose columns are `columns`.
bool CandidateBoard::matchStacks(int d, std::uint32_t columns)
{
    std::uint32_t kept = 0;
    for (int stack = 0; stack < BoxSide; ++stack) {
        const std::uint32_t matched = tables.matched[stackIncidence(columns, stack)];
        if (!matched)
            return false;
        kept |= stackColumns(matched, stack);
    }
    if (kept != columns) { // kept holds only columns of `columns`
        for (int band = 0; band < BandCount; ++band)
            remove(unitIndex(d, band), columnCells(~row(kept, band) & RowBits));
    }
    m_matchedColumns[d] = kept;
    return true;
}

// Looks at the bands of `bands` (bit b) only: elsewhere no cell lost a candidate since the
// last look.
bool CandidateBoard::placeNakedSingles(unsigned bands, bool &placedAny)
{
    for (; bands; bands &= bands - 1) {
        const int band = lowestBit(bands);
        const Multiplicity counted = multiplicity(band);
        if (unsolved(band) & ~counted.once)
            return false; // a cell without candidates
        const std::uint32_t singles = unsolved(band) & ~counted.twice;
        if (!singles)
            continue;
        // The singles' digits read from the units as they are now, in words, rather than per
        // cell across the digits' lanes just after the narrower stores that changed them. Read
        // for every cell, where a single's one candidate is its digit: so they need not wait
        // for the count of candidates.
        const std::array<std::uint32_t, DigitBits> planes = digitPlanes(band, BandBits);
        for (std::uint32_t left = singles; left; left &= left - 1) {
            const int position = lowestBit(left);
            int digit = 0;
            for (int bit = 0; bit < DigitBits; ++bit)
                digit |= static_cast<int>((planes[bit] >> position) & 1u) << bit;
            const int d = digit - 1;
            // An earlier single of this pass may have taken the cell's last candidate.
            if (!(unit(d, band) & (1u << position)))
                return false;
            assign(d, band, position);
            placedAny = true;
        }
    }
    return true;
}

// Units first, as they are cheap and give the most; then naked singles, which solve cells and
// so wake units again; the stacks last, when nothing else is left to do.
bool CandidateBoard::propagate()
{
    std::uint32_t touched = 0; // units that lost cells since the last look for naked singles
    for (;;) {
        // The pending units are held in a register while they are updated: the board's own
        // set would go through memory after every store to a unit. The units are updated
        // in rounds: those that a round's updates make pending wait for the next one, unless
        // the round still has them to update. So which unit comes next does not hang on the
        // update before it, whose bits come last of all it does; the units end the same
        // whatever the order.
        std::uint32_t pending = m_pendingUnits;
        while (pending) {
            touched |= pending;
            std::uint32_t round = pending;
            pending = 0;
            for (; round; round &= round - 1) {
                const int index = lowestBit(round);
                pending &= ~(1u << index);
                if (!updateUnit(index, pending))
                    return false;
            }
        }
        m_pendingUnits = 0;
        unsigned bands = 0;
        for (int band = 0; band < BandCount; ++band)
            bands |= static_cast<unsigned>((touched & bandUnits(band)) != 0) << band;
        touched = 0;
        bool placedAny = false;
        if (!placeNakedSingles(bands, placedAny))
            return false;
        if (placedAny)
            continue;
        std::array<std::uint32_t, GridSize> columns;
        for (std::uint32_t digits = unmatchedStacks(columns); digits; digits &= digits - 1) {
            const int d = lowestBit(digits);
            if (!matchStacks(d, columns[d]))
                return false;
        }
        if (!m_pendingUnits)
            return true;
    }
}

// A triad's three cells take three different digits. Per triad, the digits that may go there
// and those that must, because the rest of its line has no place for them: with three that
// may, those three must; with three that must, no other may. Fewer than three that may, or more
// than three that must, is a contradiction. `narrowed` tells whether a candidate went.
bool CandidateBoard::narrowTriads(bool &narrowed, Shapes &read)
{
    narrowed = false;
    // Per digit, the triads where it may go and those where it must; counted over the digits,
    // a bit slice at a time.
    std::array<std::uint64_t, GridSize> may {}, must {};
    read = shapes();
    TriadCounts mayCount, mustCount;
    for (int d = 0; d < GridSize; ++d) {
        const std::uint32_t incidences = read.incidences[d], columns = read.columns[d];
        // Per band, the columns where the digit has a place in one of the other two bands.
        const std::uint32_t elsewhere = ((columns >> GridSize | columns << 2 * GridSize)
                                            | (columns >> 2 * GridSize | columns << GridSize))
            & BandBits;
        may[d] = incidences | std::uint64_t {columns} << ColumnTriads;
        must[d] = read.loneLines[d] | std::uint64_t {columns & ~elsewhere} << ColumnTriads;
        mayCount.add(may[d]);
        mustCount.add(must[d]);
    }
    if ((mayCount.belowThree() | mustCount.aboveThree()) & AllTriads)
        return false;
    for (std::uint64_t act = (mayCount.three() ^ mustCount.three()) & AllTriads; act;
         act &= act - 1)
        narrowed |= narrowTriad(std::countr_zero(act), may, must);
    return true;
}

// One triad (bit as in narrowTriads()) with three digits that may go there and fewer
// that must, or three that must and more that may.
bool CandidateBoard::narrowTriad(int triad, const std::array<std::uint64_t, GridSize> &may,
    const std::array<std::uint64_t, GridSize> &must)
{
    const bool vertical = triad >= ColumnTriads;
    const int inBands = vertical ? triad - ColumnTriads : triad;
    const int band = inBands / GridSize, index = inBands % GridSize; // 3i + k, or the column
    const int box = vertical ? index / BoxSide : index % BoxSide;
    const std::uint32_t lineCells
        = vertical ? columnCells(1u << index) : RowBits << (GridSize * (index / BoxSide));
    const std::uint32_t cells = lineCells & tables.boxCells[box];
    unsigned mayDigits = 0, mustDigits = 0;
    for (int d = 0; d < GridSize; ++d) {
        mayDigits |= static_cast<unsigned>((may[d] >> triad) & 1u) << d;
        mustDigits |= static_cast<unsigned>((must[d] >> triad) & 1u) << d;
    }
    const std::uint32_t pendingBefore = m_pendingUnits;
    m_pendingUnits = 0;
    if (tables.rowCount[mustDigits] == BoxSide) {
        for (unsigned left = mayDigits & ~mustDigits; left; left &= left - 1)
            remove(unitIndex(lowestBit(left), band), cells);
    } else {
        for (unsigned left = mayDigits; left; left &= left - 1) {
            const int d = lowestBit(left);
            remove(
                unitIndex(d, band), (tables.boxCells[box] | (vertical ? 0 : lineCells)) & ~cells);
            for (int other = 0; vertical && other < BandCount; ++other) {
                if (other != band)
                    remove(unitIndex(d, other), lineCells);
            }
        }
    }
    const bool narrowed = m_pendingUnits != 0;
    m_pendingUnits |= pendingBefore;
    return narrowed;
}

} // namespace kaleno::KALENO_ENGINE_BUILD
