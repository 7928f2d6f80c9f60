#pragma once

#include "answer_words.h"
#include "solve_core.h"

#include <string>

namespace kaleno {

/// How each answer is laid out.
enum class Layout {
    Line, ///< one line: the 81 digits of a grid, or words
    Pretty, ///< a grid as nine rows with the boxes drawn; words stay one line
};

/// Appends `grid` to `out`, then a line end: 81 characters, '.' for an empty cell, or nine rows
/// such as "5 3 . | . 7 . | . . ." with a border "------+-------+------" between bands.
void appendGrid(std::string &out, const Grid &grid, Layout layout);

/// Appends the answer to a solve, and a line end: the completion, or the outcome in words.
void appendSolveAnswer(std::string &out, const GivensOutcome &outcome, Layout layout);

/// Appends the plain answer words of `tally`, and a line end.
void appendWords(std::string &out, Tally tally);

} // namespace kaleno
