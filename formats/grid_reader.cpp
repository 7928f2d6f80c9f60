#include "grid_reader.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace kaleno {

namespace {

constexpr int RowCells = GridSize;
constexpr std::uint8_t NotACell = 0xFF;

// What each byte is to the reader.
struct ByteTable
{
    std::array<std::uint8_t, 256> cell {}; // the digit of a cell, 0 for an empty one, or NotACell
    std::array<bool, 256> blank {}; // ignored before a line's first cell and between a row's cells
    std::array<bool, 256> rowMark {}; // ignored between a row's cells
    std::array<bool, 256> borderMark {}; // draws a border between bands
    std::array<bool, 256> commentStart {}; // starts a comment after a grid on one line
};

constexpr ByteTable makeByteTable()
{
    ByteTable t;
    t.cell.fill(NotACell);
    for (int digit = 1; digit <= 9; ++digit)
        t.cell['0' + digit] = static_cast<std::uint8_t>(digit);
    for (unsigned char empty : {'.', '0', '*', '_', 'x', 'X'})
        t.cell[empty] = 0;
    t.blank[' '] = t.blank['\t'] = true;
    t.rowMark['|'] = t.rowMark['!'] = true;
    t.borderMark['-'] = t.borderMark['+'] = t.borderMark['='] = true;
    for (unsigned char start : {' ', '\t', '#', ';', ',', '|'})
        t.commentStart[start] = true;
    return t;
}

constexpr ByteTable bytes = makeByteTable();

std::uint8_t cellOf(char c)
{
    return bytes.cell[static_cast<unsigned char>(c)];
}

std::string shown(char c)
{
    static constexpr char Hex[] = "0123456789abcdef";
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F)
        return std::string {'\'', c, '\''};
    return std::string("byte 0x") + Hex[byte >> 4] + Hex[byte & 0xF];
}

std::string_view withoutLineEnd(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return line;
}

std::string_view withoutLeadingBlanks(std::string_view line)
{
    std::size_t first = 0;
    while (first < line.size() && bytes.blank[static_cast<unsigned char>(line[first])])
        ++first;
    return line.substr(first);
}

// The 81 cells of a grid on one line, when `line` starts with them.
bool readsAsOneLine(std::string_view line, Grid &grid)
{
    if (line.size() < static_cast<std::size_t>(CellCount))
        return false;
    for (int cell = 0; cell < CellCount; ++cell) {
        const std::uint8_t value = cellOf(line[cell]);
        if (value == NotACell)
            return false;
        grid[cell] = value;
    }
    return true;
}

} // namespace

GridReader::Line GridReader::classify(std::string_view text, Grid &cells)
{
    const std::string_view line = withoutLeadingBlanks(withoutLineEnd(text));
    if (line.empty() || line.front() == '#')
        return {LineKind::Skipped, {}};

    if (readsAsOneLine(line, cells)) {
        if (line.size() == static_cast<std::size_t>(CellCount)
            || bytes.commentStart[static_cast<unsigned char>(line[CellCount])])
            return {LineKind::WholeGrid, {}};
        return {LineKind::Other, shown(line[CellCount]) + " after the 81st cell"};
    }

    int count = 0;
    bool border = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (bytes.cell[c] != NotACell) {
            if (count < RowCells)
                cells[count] = bytes.cell[c];
            ++count;
        } else if (bytes.borderMark[c]) {
            border = true;
        } else if (!bytes.blank[c] && !bytes.rowMark[c]) {
            return {LineKind::Other, shown(line[i]) + " at column " + std::to_string(i + 1)};
        }
    }
    // '|' marks both rows and borders, '!' rows only.
    const bool rowMark = line.find('!') != std::string_view::npos;
    if (border && count == 0 && !rowMark)
        return {LineKind::Border, {}};
    if (border)
        return {LineKind::Other,
            count > 0 ? "a line that draws a border holds cells"
                      : "a line that draws a border holds '!'"};
    if (count == RowCells)
        return {LineKind::Row, {}};
    return {LineKind::Other,
        std::to_string(count) + " cells: a grid is 81 cells on one line, or 9 rows of 9"};
}

void GridReader::readLine(std::string_view text, std::vector<ReadGrid> &out)
{
    Grid cells {};
    const Line line = classify(text, cells);
    read(line, cells, out);
}

void GridReader::readOverlongLine(const std::string &why, std::vector<ReadGrid> &out)
{
    read({LineKind::Other, why}, {}, out);
}

void GridReader::finish(std::vector<ReadGrid> &out)
{
    if (m_rows > 0)
        breakBlock("the text ends", out);
}

void GridReader::breakBlock(const std::string &why, std::vector<ReadGrid> &out)
{
    ReadGrid &broken = out.emplace_back();
    broken.line = m_blockLine;
    broken.error = "the grid breaks off after " + std::to_string(m_rows) + " row"
        + (m_rows == 1 ? "" : "s") + ": " + why;
    m_rows = 0;
}

void GridReader::read(const Line &line, const Grid &cells, std::vector<ReadGrid> &out)
{
    const LineNumber number = m_nextLine++;
    if (m_rows > 0) {
        switch (line.kind) {
        case LineKind::Border:
            return;
        case LineKind::Row:
            std::copy_n(
                cells.begin(), RowCells, m_block.begin() + std::ptrdiff_t {RowCells} * m_rows);
            if (++m_rows == RowCells) {
                out.push_back({m_blockLine, m_block, {}});
                m_rows = 0;
            }
            return;
        case LineKind::Skipped:
            breakBlock("line " + std::to_string(number) + " is empty or a comment", out);
            break; // and the line is read afresh below
        case LineKind::WholeGrid:
        case LineKind::Other:
            breakBlock("line " + std::to_string(number) + " is not a row of 9 cells", out);
            break;
        }
    }
    switch (line.kind) {
    case LineKind::Skipped:
    case LineKind::Border:
        return;
    case LineKind::WholeGrid:
        out.push_back({number, cells, {}});
        return;
    case LineKind::Row:
        std::copy_n(cells.begin(), RowCells, m_block.begin());
        m_rows = 1;
        m_blockLine = number;
        return;
    case LineKind::Other:
        out.push_back({number, {}, line.error});
        return;
    }
}

bool endsEveryBlock(std::string_view text)
{
    // Only a row of nine cells and a border keep a block open; every other line breaks it, and
    // read afresh it opens none.
    Grid cells {};
    const GridReader::LineKind kind = GridReader::classify(text, cells).kind;
    return kind != GridReader::LineKind::Row && kind != GridReader::LineKind::Border;
}

} // namespace kaleno
