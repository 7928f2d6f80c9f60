#include "grid.h"

namespace kaleno {

// Without a branch per cell, whose way a puzzle's empty cells make hard to foresee: every cell
// adds its bit, bit 0 for an empty one, which never counts as a repeat. The cells go band by
// band, row by row, box by box, so that a row's and a band's boxes' digits stay in registers.
bool hasRepeatedDigits(const Grid &grid)
{
    constexpr int Side = 3; // rows of a band, boxes of a row, cells of a box's row
    std::array<std::uint32_t, GridSize> columns {};
    std::uint32_t repeated = 0;
    for (int band = 0; band < Side; ++band) {
        std::array<std::uint32_t, Side> boxes {};
        for (int line = 0; line < Side; ++line) {
            std::uint32_t inRow = 0;
            for (int box = 0; box < Side; ++box) {
                for (int k = 0; k < Side; ++k) {
                    const int column = box * Side + k;
                    const auto cell
                        = static_cast<std::size_t>((band * Side + line) * GridSize + column);
                    // A value above 9 is no digit, but must not shift past the word.
                    const std::uint32_t bit = 1u << (grid[cell] & 31u);
                    std::uint32_t &inColumn = columns[static_cast<std::size_t>(column)];
                    std::uint32_t &inBox = boxes[static_cast<std::size_t>(box)];
                    repeated |= (inRow | inColumn | inBox) & bit;
                    inRow |= bit;
                    inColumn |= bit;
                    inBox |= bit;
                }
            }
        }
    }
    return (repeated & ~1u) != 0;
}

bool isSolvedGrid(const Grid &grid)
{
    for (auto digit : grid) {
        if (digit < 1 || digit > 9)
            return false;
    }
    return !hasRepeatedDigits(grid);
}

std::string gridText(const Grid &grid)
{
    std::string text(CellCount, '.');
    for (int cell = 0; cell < CellCount; ++cell) {
        if (grid[cell] != 0)
            text[cell] = static_cast<char>('0' + grid[cell]);
    }
    return text;
}

bool parseGridText(std::string_view text, Grid &grid)
{
    if (text.size() != CellCount)
        return false;
    Grid parsed {};
    for (int cell = 0; cell < CellCount; ++cell) {
        const char c = text[cell];
        if (c >= '1' && c <= '9')
            parsed[cell] = static_cast<std::uint8_t>(c - '0');
        else if (c != '.' && c != '0')
            return false;
    }
    grid = parsed;
    return true;
}

} // namespace kaleno
