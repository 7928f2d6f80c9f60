#pragma once

#include "solve_core.h"

#include <optional>
#include <string>
#include <string_view>

namespace kaleno {

/// A line of the JSON format: an array of 81 strings, the cell texts as typed, in UTF-8. Gives
/// the texts, or nothing with the reason in `error`.
std::optional<CellTexts> parseJsonLine(std::string_view line, std::string &error);

/// The JSON answer: {"outcome", "texts", "orange", "error_cell"}, in that order, on one line.
std::string jsonAnswer(const SolveOutcome &outcome);

/// The JSON answer of --count: {"outcome":"counted","completions":"0"|"1"|"2+"}, or
/// {"outcome":"input_error","error_cell":...} when the texts do not read as a grid of digits
/// that repeat nowhere (error_cell null for repeated givens).
std::string jsonCountAnswer(const GridReading &reading, int completions);

/// The JSON answer to a line that could not be read.
std::string jsonInvalidLine();

} // namespace kaleno
