#pragma once

#include "grid.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kaleno::testing {

/// A small deterministic generator (splitmix64): the same seed gives the same grids on every
/// machine and standard library.
class Random
{
public:
    explicit Random(std::uint64_t seed) : m_state(seed) { }
    std::uint64_t next();
    /// 0 <= result < bound
    int below(int bound);

private:
    std::uint64_t m_state;
};

/// A random finished grid.
Grid randomSolution(Random &random);

/// `givens` cells of a random solution, the rest empty: at least one completion, usually many.
Grid sparseGrid(Random &random, int givens);

/// A random solution with `blanks` random cells emptied (fewer when a cell comes up twice):
/// one completion or a few.
Grid denseGrid(Random &random, int blanks);

/// A dense grid with no completion: a given at cell `from` or later changed to a digit that
/// repeats nowhere. In row-major order the contradiction shows only from there on.
/* 0 <= from < 81 */
Grid brokenGrid(Random &random, int blanks, int from);

/// A puzzle with exactly one completion: cells of a random solution are emptied in random
/// order for as long as the completion stays unique (a minimal puzzle).
Grid uniqueGrid(Random &random);

/// A puzzle with no completion whose givens repeat no digit: one given of a unique puzzle
/// turned into another digit that no given of its row, column or box holds.
Grid unsolvableGrid(Random &random);

/// A grid with no completion whose contradiction lies in the last rows: givens only in the
/// bottom band, none repeated, first rows empty, and no contradiction that deductions alone
/// can see. A row-major search has to fill the empty rows over and over before it meets it.
Grid lateContradictionGrid(Random &random);

/// The kinds of grid above that take nothing but a source of randomness.
enum class GridKind {
    Sparse, ///< sparseGrid with 0 to 20 givens
    Unique, ///< uniqueGrid
    NoSolution, ///< unsolvableGrid
    LateContradiction, ///< lateContradictionGrid
};

/// The grid of `kind` made from a source seeded with `seed` alone, so that a grid found in a
/// hunt over seeds is remade from its kind and seed.
Grid generatedGrid(GridKind kind, std::uint64_t seed);

/// The grids on which the fast engine opened the most nodes, out of generatedGrid's grids for
/// the seeds from 1000 on: 200,000 sparse grids, 20,000 unique ones, 10,000 without solution
/// and 20,000 with a late contradiction (tools/grid_hunt found them). Which grids are hardest
/// depends on the engine of the day; the grids themselves on the generators alone, but for
/// the late contradictions, which also depend on what propagation sees.
std::vector<Grid> hardestGeneratedGrids();

/// The kinds of grid above, by name, for tools and benchmarks.
struct GridSet
{
    std::string name;
    std::vector<Grid> grids;
};

/// The sets the benchmarks use when no data is given: sparse grids of 0 to 20 givens, unique
/// puzzles, grids without solution (one given changed, and contradictions late in the grid),
/// and the hardest generated grids (the same whatever `perSet`).
std::vector<GridSet> generatedSets(std::uint64_t seed, int perSet);

} // namespace kaleno::testing
