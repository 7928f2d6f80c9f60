#pragma once

#include "module_sudoku.h"
#include "search_result.h"

#include <cstdint>

namespace kaleno {

/// The backtracking search that defines the solve's result: free cells in increasing cell
/// number, candidate values in ascending order, every step through Module_Sudoku's procedures.
/// The first complete grid it reaches is the smallest valid completion in row-major order.
///
/// It is exact and blind: some grids take it billions of placements. It stays as the definition
/// of the result, the oracle of the tests and the baseline of the benchmarks.
class ReferenceSearch
{
public:
    // The search's working fields; each run writes every one before reading it.
    std::int16_t CurrentCell = 0; ///< the cell being worked on; 82 once past the last cell
    std::int16_t FirstFreeCell = 0; ///< the first free cell; 82 when no cell is free
    std::int16_t CurrentValue = 0; ///< the current cell's value at the top of a step
    std::int16_t PlacedFlag = 0; ///< 1 when the step placed a candidate
    std::int16_t Candidate = 0; ///< the value under test
    std::int16_t TryResult = 0; ///< the latest TryValue result

    /// Searches the grid store as the solve command leaves it after reading the cells
    /// (CellValue and GivenValue equal), and leaves the last state of the search in CellValue.
    /// Completed when the search ran past cell 81; Exhausted when the first free cell ran out of
    /// candidates, or no cell is free; StepLimit when a placement beyond `maxPlacements` was due.
    SearchEnd run(Module_Sudoku &grid, std::uint64_t maxPlacements = Unbounded);

    /// Placements made by the latest run.
    std::uint64_t placements() const { return m_placements; }

private:
    std::uint64_t m_placements = 0;
};

/// The reference search over a grid of digits, from a fresh grid store.
SearchResult referenceSolve(const Grid &givens, std::uint64_t maxPlacements = Unbounded);

} // namespace kaleno
