#include "grid.h"

namespace kaleno {

bool hasRepeatedDigits(const Grid &grid)
{
    std::array<std::uint16_t, GridSize> rows {}, columns {}, boxes {};
    for (int cell = 0; cell < CellCount; ++cell) {
        const int digit = grid[cell];
        if (digit == 0)
            continue;
        const auto bit = static_cast<std::uint16_t>(1u << digit);
        auto &row = rows[rowOf(cell)];
        auto &column = columns[columnOf(cell)];
        auto &box = boxes[boxOf(cell)];
        if ((row | column | box) & bit)
            return true;
        row |= bit;
        column |= bit;
        box |= bit;
    }
    return false;
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
