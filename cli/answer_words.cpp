#include "answer_words.h"

#include <array>

namespace kaleno {

namespace {

// By Tally.
constexpr std::array<AnswerWords, TallyCount> Words {{
    {"solved", "solved", "solved", "solved"},
    {"no solution", "no_solution", "no solution", "no_solution"},
    {"input error", "input_error", "input error", "input_error"},
    {"step limit", "step_limit", "step limit", "step_limit"},
    {"0", "counted", "0 completions", "0_completions"},
    {"1", "counted", "1 completion", "1_completion"},
    {"2+", "counted", "2+ completions", "2+_completions"},
    {"read", "read", "read", "read"},
    {"invalid line", "invalid_line", "invalid line", "invalid_line"},
}};

} // namespace

const AnswerWords &answerWords(Tally tally)
{
    return Words[static_cast<std::size_t>(tally)];
}

Tally tallyOf(OutcomeKind kind)
{
    switch (kind) {
    case OutcomeKind::Solved:
        return Tally::Solved;
    case OutcomeKind::NoSolution:
        return Tally::NoSolution;
    case OutcomeKind::InputError:
        return Tally::InputError;
    case OutcomeKind::StepLimit:
        return Tally::StepLimit;
    }
    return Tally::InvalidLine;
}

Tally completionsTally(int completions)
{
    return completions == 0 ? Tally::NoCompletion
        : completions == 1  ? Tally::OneCompletion
                            : Tally::SeveralCompletions;
}

} // namespace kaleno
