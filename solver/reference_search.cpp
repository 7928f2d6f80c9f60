#include "reference_search.h"

namespace kaleno {

SearchEnd ReferenceSearch::run(Module_Sudoku &grid, std::uint64_t maxPlacements)
{
    m_placements = 0;
    CurrentCell = grid.NextFreeCell(0);
    FirstFreeCell = CurrentCell;

    while (CurrentCell < 82) {
        CurrentValue = grid.CellValue(CurrentCell);
        if (CurrentValue < 9) {
            PlacedFlag = 0;
            for (Candidate = static_cast<std::int16_t>(CurrentValue + 1); Candidate <= 9;
                 ++Candidate) {
                TryResult = grid.TryValue(CurrentCell, Candidate);
                if (TryResult != 0) {
                    if (m_placements == maxPlacements)
                        return SearchEnd::StepLimit;
                    ++m_placements;
                    grid.CellValue(CurrentCell) = TryResult;
                    PlacedFlag = 1;
                    CurrentCell = grid.NextFreeCell(CurrentCell);
                    break;
                }
            }
            if (PlacedFlag == 1)
                continue;
        }
        // The cell is exhausted: the search ends at the first free cell, else goes back.
        if (CurrentCell == FirstFreeCell)
            break;
        grid.CellValue(CurrentCell) = 0;
        CurrentCell = grid.PreviousFreeCell(CurrentCell);
    }
    return FirstFreeCell != CurrentCell ? SearchEnd::Completed : SearchEnd::Exhausted;
}

SearchResult referenceSolve(const Grid &givens, std::uint64_t maxPlacements)
{
    Module_Sudoku store;
    for (int cell = 0; cell < CellCount; ++cell) {
        store.CellValue(cell + 1) = givens[cell];
        store.GivenValue(cell + 1) = givens[cell];
    }
    ReferenceSearch search;
    SearchResult result;
    result.end = search.run(store, maxPlacements);
    result.placements = search.placements();
    for (int cell = 0; cell < CellCount; ++cell)
        result.grid[cell] = static_cast<std::uint8_t>(store.CellValue(cell + 1));
    return result;
}

} // namespace kaleno
