#pragma once

#include "solve_core.h"

namespace kaleno {

/// The kinds of answer kaleno-solve gives, as its statistics count them.
enum class Tally {
    Solved,
    NoSolution,
    InputError,
    StepLimit,
    NoCompletion,
    OneCompletion,
    SeveralCompletions,
    Read, ///< with --givens
    InvalidLine,
};
constexpr int TallyCount = static_cast<int>(Tally::InvalidLine) + 1;

/// The words of one kind of answer, each written once.
struct AnswerWords
{
    /// The plain answer: "no solution", "2+" ... A solved or read grid is answered by the grid
    /// itself; its words only name it.
    const char *plain;
    const char *json; ///< the `outcome` of the JSON answer: "no_solution", "counted" ...
    const char *label; ///< in the statistics: "no solution", "2+ completions" ...
    const char *key; ///< in the statistics' JSON form: "no_solution", "2+_completions" ...
};

/// The words of the answers of kind `tally`.
const AnswerWords &answerWords(Tally tally);

/// The tally of a solve's outcome.
Tally tallyOf(OutcomeKind kind);

/// The tally of a count of completions, counted up to two.
Tally completionsTally(int completions);

} // namespace kaleno
