#include "options.h"

#include "kaleno_version.h"

#include <QCommandLineParser>
#include <QFile>

#include <sched.h>

#include <algorithm>

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

namespace {

// kaleno-solve's options, as the parser knows them.
struct Switches
{
    explicit Switches(int cores)
        : help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")),
          version(QStringLiteral("version"), QStringLiteral("Show the version.")),
          json(QStringLiteral("json"),
              QStringLiteral("Each line is a JSON array of the 81 cell texts as typed; each "
                             "answer a JSON object.")),
          count(QStringLiteral("count"),
              QStringLiteral("Instead of the completion, print how many there are, counted up "
                             "to two: 0, 1 or 2+.")),
          givens(QStringLiteral("givens"),
              QStringLiteral("Solve nothing: print each grid as read, on one line of 81 "
                             "characters, '.' for an empty cell.")),
          pretty(QStringLiteral("pretty"),
              QStringLiteral("Print each grid as nine rows with the boxes drawn, a blank line "
                             "between answers.")),
          jobs({QStringLiteral("j"), QStringLiteral("jobs")},
              QStringLiteral("Solve on N threads, from 1 to %1; the default is the number of "
                             "cores (%2 here).")
                  .arg(MaxJobs)
                  .arg(cores),
              QStringLiteral("N")),
          engine(QStringLiteral("engine"),
              QStringLiteral("The search to use: fast (the default) or reference (the literal "
                             "row-major search)."),
              QStringLiteral("name"), QStringLiteral("fast")),
          maxSteps(QStringLiteral("max-steps"),
              QStringLiteral("Stop the reference search after N placements and answer 'step "
                             "limit'."),
              QStringLiteral("N")),
          stats(QStringLiteral("stats"),
              QStringLiteral("Print the count of each answer, the time per grid, the rate and "
                             "the peak memory on standard error; --stats=json prints them as one "
                             "JSON object."))
    { }

    void addTo(QCommandLineParser &parser) const
    {
        parser.setApplicationDescription(QStringLiteral(
            "Solves 9x9 number-placement grids, from the files or from standard input.\n"
            "A grid is one line of 81 cells or a block of nine rows (see the manual page); each\n"
            "gets one answer line: the 81 digits of its smallest completion in row-major order,\n"
            "'no solution', 'input error' (a digit repeated in a row, column or box), 'step "
            "limit'\nor 'invalid line'. Empty lines and lines starting with # are skipped."));
        parser.addOptions(
            {help, version, json, count, givens, pretty, jobs, engine, maxSteps, stats});
        parser.addPositionalArgument(QStringLiteral("FILE"),
            QStringLiteral("Files of grids; standard input when none is given, or for -."),
            QStringLiteral("[FILE...]"));
    }

    QCommandLineOption help, version, json, count, givens, pretty, jobs, engine, maxSteps, stats;
};

// What to do with each grid, and how to answer. Empty when the options do not go together.
QString readTask(const QCommandLineParser &parser, const Switches &switches, RunOptions &options)
{
    options.json = parser.isSet(switches.json);
    options.pretty = parser.isSet(switches.pretty);
    if (parser.isSet(switches.count) && parser.isSet(switches.givens))
        return QStringLiteral("--count and --givens exclude each other");
    options.task = parser.isSet(switches.count) ? Task::Count
        : parser.isSet(switches.givens)         ? Task::Givens
                                                : Task::Solve;
    if (options.json && (options.pretty || options.task == Task::Givens))
        return QStringLiteral("--json answers in JSON: it takes neither --pretty nor --givens");
    return {};
}

// The parser knows --stats as a switch: its form, --stats=FORMAT, is taken out beforehand into
// `form`, and --stats left in its place.
QStringList takeStatsForm(QStringList arguments, QString &form)
{
    const QString withForm = QStringLiteral("--stats=");
    for (qsizetype i = 1; i < arguments.size() && arguments[i] != QLatin1String("--"); ++i) {
        if (arguments[i].startsWith(withForm)) {
            form = arguments[i].mid(withForm.size());
            arguments[i] = QStringLiteral("--stats");
        }
    }
    return arguments;
}

// Whether to print the statistics, and how.
QString readStats(const QCommandLineParser &parser, const Switches &switches, const QString &form,
    RunOptions &options)
{
    if (!parser.isSet(switches.stats))
        return {};
    if (form.isNull() || form == QLatin1String("text"))
        options.stats = StatsForm::Text;
    else if (form == QLatin1String("json"))
        options.stats = StatsForm::Json;
    else
        return QStringLiteral("--stats prints text or json, not '%1'").arg(form);
    return {};
}

// The search and its bound, and the threads.
QString readSearch(
    const QCommandLineParser &parser, const Switches &switches, int cores, RunOptions &options)
{
    const QString engineName = parser.value(switches.engine);
    if (engineName == QLatin1String("reference"))
        options.solve.engine = Engine::Reference;
    else if (engineName != QLatin1String("fast"))
        return QStringLiteral("unknown engine '%1' (use fast or reference)").arg(engineName);
    if (parser.isSet(switches.maxSteps)) {
        // Only the reference search takes a bound; elsewhere it would be silently ignored.
        if (options.solve.engine != Engine::Reference || options.task != Task::Solve)
            return QStringLiteral("--max-steps bounds the reference search only: use it with "
                                  "--engine=reference, without --count or --givens");
        bool ok = false;
        options.solve.maxPlacements = parser.value(switches.maxSteps).toULongLong(&ok);
        if (!ok)
            return QStringLiteral("--max-steps needs a whole number, not '%1'")
                .arg(parser.value(switches.maxSteps));
    }
    options.jobs = cores;
    if (parser.isSet(switches.jobs)) {
        bool ok = false;
        options.jobs = parser.value(switches.jobs).toInt(&ok);
        if (!ok || options.jobs < 1 || options.jobs > MaxJobs)
            return QStringLiteral("--jobs needs a whole number from 1 to %1, not '%2'")
                .arg(MaxJobs)
                .arg(parser.value(switches.jobs));
    }
    return {};
}

} // namespace

ParsedCommandLine parseCommandLine(const QStringList &arguments, int cores)
{
    QCommandLineParser parser;
    const Switches switches(cores);
    switches.addTo(parser);
    QString statsForm;
    if (!parser.parse(takeStatsForm(arguments, statsForm)))
        return usageError(parser.errorText());
    ParsedCommandLine parsed;
    if (parser.isSet(switches.help) || parser.isSet(switches.version)) {
        parsed.action = ParsedCommandLine::Action::Print;
        parsed.text = parser.isSet(switches.help)
            ? parser.helpText().toStdString()
            : std::string("kaleno-solve " KALENO_VERSION_TEXT "\n");
        return parsed;
    }
    RunOptions &options = parsed.options;
    for (const QString &why :
        {readTask(parser, switches, options), readStats(parser, switches, statsForm, options),
            readSearch(parser, switches, cores, options)}) {
        if (!why.isEmpty())
            return usageError(why);
    }
    for (const QString &file : parser.positionalArguments())
        options.files.push_back(QFile::encodeName(file).toStdString());
    if (options.files.empty())
        options.files.emplace_back("-");
    return parsed;
}

} // namespace kaleno
