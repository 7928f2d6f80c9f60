#pragma once

#include "grid.h"
#include "search_result.h"

namespace kaleno {

/// How the engine shares out its work, in search nodes. Any values give the same result (a turn
/// below 1 counts as 1, but a first count below 1 is none); the defaults are the fastest on the
/// puzzle sets we measure, grid by grid as well as on average.
struct SearchTurns
{
    /// The row-major search's first turn, alone, on a grid that propagation leaves with
    /// `richRoot` candidates or more (at least `leanLook`): enough for most grids with many
    /// completions (a row-major search that does not back-track opens about a node per free
    /// cell) and for many easy ones.
    long firstLook = 56;
    /// Then the count and the row-major search take turns, the count first. The count gets
    /// most of the work: branching on the choice that tells the most, its tree is the
    /// smaller one on most hard grids, and it settles grids without completion in a few nodes.
    /// The row-major search keeps a share for the grids where it reaches the answer first.
    long rowMajor = 16;
    long count = 192;
    /// The row-major search once the grid has shown two completions: its last turn before the
    /// descent, then its look after each cell the descent fixes.
    long severalLook = 128;
    /// The first turn on a grid left with fewer candidates (a solved cell counts its one), and
    /// the start of every first turn: the grids it settles need no counting of candidates.
    /// Grids with many completions keep more; the others are mostly grids with one, which the
    /// count settles sooner unless the row-major search meets the answer early.
    long leanLook = 16;
    int richRoot = 300;
    /// Before any of that, on a grid of fewer than `manyGivens` givens that propagation leaves
    /// tight (where the count branches on layouts), the count's first turn (none at 0). Such
    /// grids mostly have one completion, and the count settles most of them in fewer nodes than
    /// the row-major search's look would take; grids left open despite many givens mostly have
    /// several, and that look finds the smallest.
    long firstCount = 48;
    int manyGivens = 30;
    /// After that first count, the row-major search's look also ends at its first dead end (a
    /// node closed without a completion). The hard grids that the count did not settle are
    /// seldom settled by the look, while those it settles early it mostly reaches without a
    /// dead end: on the hardest sets this saves a tenth of the nodes.
    bool lookEndsAtDeadEnd = true;
};

/// The engine is built twice from the same code: for any processor, and for x86-64 processors
/// with AVX2 and BMI2, which gather bits in one instruction where the other takes a dozen. Both
/// give the same answers, node for node; `Widest` is the widest that this program and this
/// processor can run.
enum class EnginePath { Baseline, Widest };

/// Whether `Widest` is the wide build, rather than the baseline one again.
bool runsWidePath();

/// The smallest completion in row-major order of `givens` (0 for a free cell), or Exhausted
/// when there is none: exactly what the reference search gives for givens that do not repeat a
/// digit, in microseconds instead of up to hours. `placements` counts the search nodes the
/// engine opened (a digit put into a cell, then propagated).
SearchResult fastSolve(
    const Grid &givens, const SearchTurns &turns = {}, EnginePath path = EnginePath::Widest);

/// The number of completions of `givens`, counted up to `limit`.
int countCompletions(const Grid &givens, int limit = 2, EnginePath path = EnginePath::Widest);

} // namespace kaleno
