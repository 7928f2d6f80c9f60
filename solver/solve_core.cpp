#include "solve_core.h"

#include "conversions.h"
#include "fast_engine.h"
#include "reference_search.h"
#include "runtime_error.h"

namespace kaleno {

namespace {

std::optional<std::uint8_t> cellValue(double number)
{
    std::int16_t value = 0;
    try {
        value = toInt16(number);
    } catch (const RuntimeError &) {
        return std::nullopt;
    }
    // Only a digit can take part in the puzzle; anything else is a typing error.
    if (value < 0 || value > 9)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

} // namespace

std::optional<std::uint8_t> readCell(std::string_view text)
{
    return cellValue(numberFromText(text));
}

GridReading readCells(const CellTexts &texts)
{
    GridReading reading;
    for (int cell = 0; cell < CellCount; ++cell) {
        const double number = numberFromText(texts[cell]);
        const std::optional<std::uint8_t> value = cellValue(number);
        if (!value) {
            reading.errorCell = cell;
            return reading;
        }
        reading.givens[cell] = *value;
        if (number != 0.0)
            reading.orange.set(static_cast<std::size_t>(cell));
    }
    reading.repeatedGivens = hasRepeatedDigits(reading.givens);
    return reading;
}

GivensOutcome solveGivens(const Grid &givens, const SolveOptions &options)
{
    GivensOutcome outcome;
    if (hasRepeatedDigits(givens)) {
        outcome.kind = OutcomeKind::InputError;
        return outcome;
    }
    // A full grid that passed the check above is its own completion; the search would call
    // it unsolvable because it has no free cell to start from.
    if (isSolvedGrid(givens)) {
        outcome.kind = OutcomeKind::Solved;
        outcome.completion = givens;
        return outcome;
    }
    const SearchResult result = options.engine == Engine::Fast
        ? fastSolve(givens)
        : referenceSolve(givens, options.maxPlacements);
    switch (result.end) {
    case SearchEnd::Completed:
        outcome.kind = OutcomeKind::Solved;
        outcome.completion = result.grid;
        break;
    case SearchEnd::Exhausted:
        outcome.kind = OutcomeKind::NoSolution;
        break;
    case SearchEnd::StepLimit:
        outcome.kind = OutcomeKind::StepLimit;
        break;
    }
    return outcome;
}

SolveOutcome solveCells(const CellTexts &texts, const SolveOptions &options)
{
    SolveOutcome outcome;
    outcome.texts = texts;

    const GridReading reading = readCells(texts);
    outcome.orange = reading.orange;
    outcome.errorCell = reading.errorCell;
    if (reading.errorCell) {
        outcome.kind = OutcomeKind::InputError;
        return outcome;
    }
    const GivensOutcome solved = solveGivens(reading.givens, options);
    outcome.kind = solved.kind;
    if (solved.kind == OutcomeKind::Solved) {
        for (int cell = 0; cell < CellCount; ++cell) {
            if (reading.givens[cell] == 0)
                outcome.texts[cell] = integerText(solved.completion[cell]);
        }
    }
    return outcome;
}

} // namespace kaleno
