#pragma once

#include "solve_core.h"

#include <QStringList>

#include <string>
#include <vector>

namespace kaleno {

/// What kaleno-solve does with each grid it reads.
enum class Task {
    Solve, ///< the smallest completion, or the outcome in words
    Count, ///< the number of completions, counted up to two
    Givens, ///< the grid as read, on one line
};

/// How the statistics of a run are printed, on standard error after the answers.
enum class StatsForm {
    None,
    Text, ///< lines for people to read
    Json, ///< one JSON object, for programs
};

/// How kaleno-solve was asked to run.
struct RunOptions
{
    Task task = Task::Solve;
    bool json = false; ///< lines of 81 cell texts in, JSON objects out
    bool pretty = false; ///< grids answered as nine rows with the boxes drawn
    StatsForm stats = StatsForm::None; ///< the tallies, the times and the memory
    int jobs = 1; ///< threads that read, solve and answer
    SolveOptions solve;
    std::vector<std::string> files; ///< "-" for standard input
    bool standardInputClosed = false; ///< the program was started without one: "-" is unread
};

/// What the command line asks for: a run, or only a text to print.
struct ParsedCommandLine
{
    enum class Action { Run, Print, UsageError } action = Action::Run;
    RunOptions options;
    std::string text; ///< Print: the help or the version; UsageError: why
};

/// Reads kaleno-solve's arguments, the program's name first. `cores` is the default of --jobs.
/// The help text needs the QCoreApplication of the program.
ParsedCommandLine parseCommandLine(const QStringList &arguments, int cores);

/// The cores this process may run on.
int usableCores();

} // namespace kaleno
