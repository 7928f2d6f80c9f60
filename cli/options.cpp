#include "options.h"

#include "kaleno_version.h"

#include <QCommandLineParser>
#include <QFile>

#include <sched.h>

namespace kaleno {

namespace {

// More threads than this only cost memory: the answers of every chunk in flight are held.
constexpr int MaxJobs = 256;

ParsedCommandLine usageError(const QString &why)
{
    ParsedCommandLine parsed;
    parsed.action = ParsedCommandLine::Action::UsageError;
    parsed.text = why.toStdString();
    return parsed;
}

} // namespace

int usableCores()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0)
        return 1;
    return std::max(1, CPU_COUNT(&set));
}

ParsedCommandLine parseCommandLine(const QStringList &arguments, int cores)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Solves 9x9 number-placement grids, from the files or from standard input.\n"
        "A grid is one line of 81 cells or a block of nine rows (see the manual page); each\n"
        "gets one answer line: the 81 digits of its smallest completion in row-major order,\n"
        "'no solution', 'input error' (a digit repeated in a row, column or box), 'step limit'\n"
        "or 'invalid line'. Empty lines and lines starting with # are skipped."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    const QCommandLineOption version(
        QStringLiteral("version"), QStringLiteral("Show the version."));
    const QCommandLineOption json(QStringLiteral("json"),
        QStringLiteral("Each line is a JSON array of the 81 cell texts as typed; each answer a "
                       "JSON object."));
    const QCommandLineOption count(QStringLiteral("count"),
        QStringLiteral("Instead of the completion, print how many there are, counted up to two: "
                       "0, 1 or 2+."));
    const QCommandLineOption givens(QStringLiteral("givens"),
        QStringLiteral("Solve nothing: print each grid as read, on one line of 81 characters, "
                       "'.' for an empty cell."));
    const QCommandLineOption pretty(QStringLiteral("pretty"),
        QStringLiteral("Print each grid as nine rows with the boxes drawn, a blank line between "
                       "answers."));
    const QCommandLineOption jobs({QStringLiteral("j"), QStringLiteral("jobs")},
        QStringLiteral("Solve on N threads; the default is the number of cores (%1 here).")
            .arg(cores),
        QStringLiteral("N"));
    const QCommandLineOption engine(QStringLiteral("engine"),
        QStringLiteral("The search to use: fast (the default) or reference (the literal "
                       "row-major search)."),
        QStringLiteral("name"), QStringLiteral("fast"));
    const QCommandLineOption maxSteps(QStringLiteral("max-steps"),
        QStringLiteral("Stop the reference search after N placements and answer 'step limit'."),
        QStringLiteral("N"));
    const QCommandLineOption stats(QStringLiteral("stats"),
        QStringLiteral("Print the count of each answer, the time per grid, the rate and the peak "
                       "memory on standard error."));
    parser.addOptions({help, version, json, count, givens, pretty, jobs, engine, maxSteps, stats});
    parser.addPositionalArgument(QStringLiteral("FILE"),
        QStringLiteral("Files of grids; standard input when none is given, or for -."),
        QStringLiteral("[FILE...]"));

    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    ParsedCommandLine parsed;
    if (parser.isSet(help) || parser.isSet(version)) {
        parsed.action = ParsedCommandLine::Action::Print;
        parsed.text = parser.isSet(help) ? parser.helpText().toStdString()
                                         : std::string("kaleno-solve " KALENO_VERSION_TEXT "\n");
        return parsed;
    }

    RunOptions &options = parsed.options;
    options.json = parser.isSet(json);
    options.pretty = parser.isSet(pretty);
    options.stats = parser.isSet(stats);
    if (parser.isSet(count) && parser.isSet(givens))
        return usageError(QStringLiteral("--count and --givens exclude each other"));
    options.task = parser.isSet(count) ? Task::Count
        : parser.isSet(givens)         ? Task::Givens
                                       : Task::Solve;
    if (options.json && (options.pretty || options.task == Task::Givens))
        return usageError(QStringLiteral("--json answers in JSON: it takes neither --pretty nor "
                                         "--givens"));

    const QString engineName = parser.value(engine);
    if (engineName == QLatin1String("reference"))
        options.solve.engine = Engine::Reference;
    else if (engineName != QLatin1String("fast"))
        return usageError(
            QStringLiteral("unknown engine '%1' (use fast or reference)").arg(engineName));
    if (parser.isSet(maxSteps)) {
        // Only the reference search takes a bound; elsewhere it would be silently ignored.
        if (options.solve.engine != Engine::Reference || options.task != Task::Solve)
            return usageError(QStringLiteral("--max-steps bounds the reference search only: use "
                                             "it with --engine=reference, without --count or "
                                             "--givens"));
        bool ok = false;
        options.solve.maxPlacements = parser.value(maxSteps).toULongLong(&ok);
        if (!ok)
            return usageError(QStringLiteral("--max-steps needs a whole number, not '%1'")
                                  .arg(parser.value(maxSteps)));
    }
    options.jobs = cores;
    if (parser.isSet(jobs)) {
        bool ok = false;
        options.jobs = parser.value(jobs).toInt(&ok);
        if (!ok || options.jobs < 1 || options.jobs > MaxJobs)
            return usageError(QStringLiteral("--jobs needs a whole number from 1 to %1, not '%2'")
                                  .arg(MaxJobs)
                                  .arg(parser.value(jobs)));
    }

    for (const QString &file : parser.positionalArguments())
        options.files.push_back(QFile::encodeName(file).toStdString());
    if (options.files.empty())
        options.files.emplace_back("-");
    return parsed;
}

} // namespace kaleno
