#pragma once

#include "grid.h"
#include "search_result.h"

namespace kaleno {

/// How the engine shares out its work, in search nodes. Any values give the same result (below
/// 1 counts as 1); the defaults are the fastest on the puzzle sets we measure.
struct SearchTurns
{
    /// The row-major search's first turn, alone: enough for most grids with many completions
    /// (a row-major search that does not back-track opens about a node per free cell).
    long firstLook = 24;
    /// Then the count and the row-major search take turns, the count first. On the hard
    /// puzzle sets the row-major search reaches the one completion in fewer nodes than the
    /// count needs to exhaust its tree, so it gets most of the work; the count settles grids
    /// without completion in a few nodes, and bounds the grids where the row-major order
    /// wanders through a large empty branch.
    long rowMajor = 128;
    long count = 12;
    /// The row-major search after each cell the descent fixes.
    long descentLook = 64;
};

/// The smallest completion in row-major order of `givens` (0 for a free cell), or Exhausted
/// when there is none: exactly what the reference search gives for givens that do not repeat a
/// digit, in microseconds instead of up to hours. `placements` counts the search nodes the
/// engine opened (a digit put into a cell, then propagated).
SearchResult fastSolve(const Grid &givens, const SearchTurns &turns = {});

/// The number of completions of `givens`, counted up to `limit`.
int countCompletions(const Grid &givens, int limit = 2);

} // namespace kaleno
