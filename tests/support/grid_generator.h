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

/// The kinds of grid above, by name, for tools and benchmarks.
struct GridSet
{
    std::string name;
    std::vector<Grid> grids;
};

/// The sets the benchmarks use when no data is given: sparse grids of 0 to 20 givens, unique
/// puzzles, and grids without solution (one given changed, and contradictions late in the
/// grid).
std::vector<GridSet> generatedSets(std::uint64_t seed, int perSet);

} // namespace kaleno::testing
