#pragma once

#include "grid.h"
#include "search_result.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kaleno {

/// The 81 cell texts as typed, cell index 0..80 row by row, UTF-8.
using CellTexts = std::array<std::string, CellCount>;

enum class OutcomeKind {
    Solved, ///< the free cells hold the completion; show the success label and picture
    NoSolution, ///< "Aucune solution trouvée !"
    InputError, ///< the input-error message
    StepLimit, ///< the reference search reached its bound (never with the fast engine)
};

/// Everything a solve changes, for the window or the command-line tool to apply.
struct SolveOutcome
{
    OutcomeKind kind = OutcomeKind::NoSolution;
    CellTexts texts; ///< the 81 texts to show afterwards
    std::bitset<CellCount> orange; ///< the cells whose background turns orange
    /// The cell whose text could not be read as a digit; empty for every other outcome,
    /// repeated givens included.
    std::optional<int> errorCell;
};

enum class Engine {
    Fast, ///< propagation and pruned search: the same result, in microseconds
    Reference, ///< the literal row-major search
};

struct SolveOptions
{
    Engine engine = Engine::Fast;
    std::uint64_t maxPlacements = Unbounded; ///< bound of the reference engine
};

/// What reading the 81 texts gives, before any search.
struct GridReading
{
    Grid givens {}; ///< the givens read so far; 0 for a free cell
    std::bitset<CellCount> orange; ///< cells whose reading is nonzero before rounding
    std::optional<int> errorCell; ///< the cell whose reading is not a digit 0..9
    bool repeatedGivens = false; ///< a digit given twice in a row, column or box
    bool ok() const { return !errorCell && !repeatedGivens; }
};

/// What the solve command reads in one cell's text: a digit 1..9 for a given, 0 for a free cell,
/// nothing for a text it refuses (a reading that does not round to an integer 0..9).
std::optional<std::uint8_t> readCell(std::string_view text);

/// Reads the texts cell by cell, stopping at the first one whose reading does not round to an
/// integer 0..9: that cell and the later ones are neither read nor coloured. A cell is given
/// when its reading rounds to 1..9, and orange when its reading is nonzero (0.3 is orange yet
/// free).
GridReading readCells(const CellTexts &texts);

/// A solve of givens already read as digits, without the texts around them.
struct GivensOutcome
{
    OutcomeKind kind = OutcomeKind::NoSolution;
    Grid completion {}; ///< when Solved: the givens and every free cell's digit
};

/// Solves `givens` (0 for a free cell, 1..9 a given) as the solve command does once it has read
/// the texts: repeated givens are an input error, a full grid that repeats nothing is its own
/// completion, anything else is searched.
GivensOutcome solveGivens(const Grid &givens, const SolveOptions &options = {});

/// The solve command: reads the texts, checks the givens, searches, and says what to show.
/// The texts change only on success, where each free cell gets its digit and the givens keep
/// the text they were typed with.
SolveOutcome solveCells(const CellTexts &texts, const SolveOptions &options = {});

} // namespace kaleno
