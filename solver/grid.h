#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kaleno {

constexpr int GridSize = 9;
constexpr int CellCount = GridSize * GridSize;

/// 81 cells in row-major order, cell index 0..80; 0 is an empty cell, 1..9 a digit.
using Grid = std::array<std::uint8_t, CellCount>;

/* 0 <= cell < 81 */
constexpr int rowOf(int cell)
{
    return cell / GridSize;
}
constexpr int columnOf(int cell)
{
    return cell % GridSize;
}
constexpr int boxOf(int cell)
{
    return rowOf(cell) / 3 * 3 + columnOf(cell) / 3;
}

/// True when two nonzero cells of one row, column or box hold the same digit.
bool hasRepeatedDigits(const Grid &grid);

/// True when every cell holds a digit and no digit repeats: a finished puzzle.
bool isSolvedGrid(const Grid &grid);

/// 81 characters, '.' for an empty cell: the form grids take in tests and tools.
std::string gridText(const Grid &grid);

/// The inverse of gridText; '0' also reads as empty. Anything but 81 characters of
/// "123456789.0" gives false and leaves `grid` alone.
bool parseGridText(std::string_view text, Grid &grid);

} // namespace kaleno
