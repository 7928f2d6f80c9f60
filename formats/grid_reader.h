#pragma once

#include "grid.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kaleno {

/// The number of a line in its input, from 1; a stream may run past 2^31 lines.
using LineNumber = std::int64_t;

/// A grid read from text, or the lines that should have made one and did not.
struct ReadGrid
{
    LineNumber line = 0; ///< the number of its first line, from 1
    Grid givens {}; ///< the grid, when `error` is empty
    std::string error; ///< why the lines from `line` on are not a grid

    bool ok() const { return error.empty(); }
};

/// Reads grids in the common text formats, line by line. A cell is `1`-`9` for a given, or one
/// of `.0*_xX` for an empty cell. A grid is
///   - one line of 81 cells with nothing between them; anything after the 81st cell that starts
///     with a blank, a tab, `#`, `;`, `,` or `|` is a comment and is ignored;
///   - or a block of nine rows, one a line, each of nine cells, with the blanks, tabs, `|` and
///     `!` between them ignored. A line made of `-`, `+`, `=`, `|` and blanks, with at least
///     one of `-`, `+`, `=`, draws a border between bands and is skipped.
/// Empty and all-blank lines and `#` comment lines are skipped between grids. Blanks before a
/// line's first cell and a carriage return at its end are ignored.
///
/// Any other line is no grid. A block that breaks off before its ninth row (an empty line, a
/// comment, or any line that is not a row of nine cells) is no grid either, and the line that
/// broke it is then read afresh, as the start of what follows.
class GridReader
{
public:
    /* firstLine >= 1 */
    explicit GridReader(LineNumber firstLine = 1) : m_nextLine(firstLine) { }

    /// Reads the next line, without its line end. Appends to `out` what the line completes:
    /// a grid, a line or block that is no grid, or both (a block broken by a line that is
    /// itself no grid).
    void readLine(std::string_view text, std::vector<ReadGrid> &out);

    /// The next line was too long to be held, `why` says how long: it is no grid.
    void readOverlongLine(const std::string &why, std::vector<ReadGrid> &out);

    /// The end of the text: a block still open breaks off there.
    void finish(std::vector<ReadGrid> &out);

    /// The number the next line gets.
    LineNumber nextLine() const { return m_nextLine; }

    /// True while a block is open: rows were read, and not yet nine.
    bool inBlock() const { return m_rows > 0; }

private:
    friend bool endsEveryBlock(std::string_view text);

    enum class LineKind { Skipped, Border, WholeGrid, Row, Other };
    struct Line
    {
        LineKind kind = LineKind::Other;
        std::string error; // for Other: why it is no grid
    };

    static Line classify(std::string_view text, Grid &cells);
    void breakBlock(const std::string &why, std::vector<ReadGrid> &out);
    void read(const Line &line, const Grid &cells, std::vector<ReadGrid> &out);

    LineNumber m_nextLine;
    int m_rows = 0; // rows of the open block; 0 between grids
    LineNumber m_blockLine = 0; // the first line of the open block
    Grid m_block {};
};

/// True when every reading is between grids after the line `text`, whatever came before it: an
/// empty line, a comment or a grid on one line. A text can be cut after such a line into parts that
/// are read apart, each with a reader of its own.
bool endsEveryBlock(std::string_view text);

} // namespace kaleno
