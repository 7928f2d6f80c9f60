#pragma once

#include "grid.h"
#include "solve_core.h"

#include <string_view>

namespace kaleno::testing {

// The sample puzzle behind the hidden button, and its one completion.
constexpr std::string_view SamplePuzzle
    = "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..";
constexpr std::string_view SampleSolution
    = "162857493534129678789643521475312986913586742628794135356478219241935867897261354";

// What the row-major search makes of an empty grid.
constexpr std::string_view EmptyGridCompletion
    = "123456789456789123789123456214365897365897214897214365531642978642978531978531642";

constexpr std::string_view EmptyGrid
    = ".................................................................................";

/// The grid of an 81-character string ('.' empty); a malformed string fails the test.
Grid grid(std::string_view text);

/// The cell texts the window would hold for an 81-character grid: "d" for a digit, "" for '.'.
CellTexts textsOf(std::string_view text);

} // namespace kaleno::testing
