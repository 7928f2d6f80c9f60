#pragma once

#include "solve_core.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace kaleno {

/// A line of the plain format: 81 characters, '1'-'9' a given, '.' or '0' an empty cell,
/// whitespace around them ignored. Gives the cell texts the window would hold, or nothing (with
/// the reason in `error`) for a malformed line.
std::optional<CellTexts> parsePlainLine(const QByteArray &line, QString *error);

/// A line of the JSON format: an array of 81 strings, the cell texts as typed.
std::optional<CellTexts> parseJsonLine(const QByteArray &line, QString *error);

/// The plain answer: the 81 digits of the completion, or the outcome in words.
QByteArray plainAnswer(const SolveOutcome &outcome);

/// The JSON answer: {"outcome", "texts", "orange", "error_cell"}, in that order, on one line.
QByteArray jsonAnswer(const SolveOutcome &outcome);

/// The answer of --count in words: "0", "1" or "2+" completions, or "input error" when the
/// texts do not read as a grid of digits that repeat nowhere.
QByteArray plainCountAnswer(const GridReading &reading, int completions);

/// The same in JSON: {"outcome":"counted","completions":"0"|"1"|"2+"}, or
/// {"outcome":"input_error","error_cell":...}.
QByteArray jsonCountAnswer(const GridReading &reading, int completions);

/// The JSON answer to a line that could not be read.
QByteArray jsonInvalidLine();

/// An outcome in words, as the plain answers and the statistics give it: "solved",
/// "no solution", "input error", "step limit".
const char *outcomeWords(OutcomeKind kind);

} // namespace kaleno
