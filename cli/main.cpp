// kaleno-solve: the window's solve command over files of grids, one grid a line.

#include "line_formats.h"
#include "solver/solve_core.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

using namespace kaleno;

namespace {

enum ExitStatus {
    AllRead = 0,
    SomeLineInvalid = 1,
    UsageOrFileError = 2,
};

struct RunOptions
{
    bool json = false;
    bool stats = false;
    SolveOptions solve;
};

void printError(const QString &message)
{
    std::fprintf(stderr, "kaleno-solve: %s\n", qPrintable(message));
}

// Solves every grid line of the inputs in order, and keeps count of what happened.
class SolveRun
{
public:
    explicit SolveRun(const RunOptions &options)
        : m_options(options)
    {
    }

    void solveStream(QIODevice &input, const QString &name)
    {
        int lineNumber = 0;
        for (;;) {
            const QByteArray line = input.readLine();
            if (line.isEmpty())
                break;
            ++lineNumber;
            const QByteArray content = line.trimmed();
            if (content.isEmpty() || content.startsWith('#'))
                continue;
            solveLine(content, name, lineNumber);
        }
    }

    void printStats() const
    {
        std::fprintf(stderr, "grids %zu: solved %d, no solution %d, input error %d, step limit %d, invalid line %d\n",
                     m_micros.size() + static_cast<std::size_t>(m_invalid), count(OutcomeKind::Solved),
                     count(OutcomeKind::NoSolution), count(OutcomeKind::InputError),
                     count(OutcomeKind::StepLimit), m_invalid);
        if (m_micros.empty())
            return;
        std::vector<double> sorted = m_micros;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (double micros : sorted)
            sum += micros;
        const std::size_t middle = sorted.size() / 2;
        const double median = sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
        std::fprintf(stderr, "time per grid: mean %.2f us, median %.2f us, max %.2f us\n",
                     sum / static_cast<double>(sorted.size()), median, sorted.back());
    }

    bool sawInvalidLine() const { return m_invalid > 0; }

private:
    void solveLine(const QByteArray &content, const QString &name, int lineNumber)
    {
        QString error;
        const auto texts = m_options.json ? parseJsonLine(content, &error) : parsePlainLine(content, &error);
        if (!texts) {
            ++m_invalid;
            printError(QStringLiteral("%1:%2: invalid line: %3").arg(name).arg(lineNumber).arg(error));
            answer(m_options.json ? jsonInvalidLine() : QByteArray("invalid line"));
            return;
        }

        const auto start = std::chrono::steady_clock::now();
        const SolveOutcome outcome = solveCells(*texts, m_options.solve);
        const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;

        m_micros.push_back(elapsed.count());
        ++m_counts[outcome.kind];
        answer(m_options.json ? jsonAnswer(outcome) : plainAnswer(outcome));
    }

    static void answer(const QByteArray &text)
    {
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
        std::fputc('\n', stdout);
    }

    int count(OutcomeKind kind) const
    {
        const auto found = m_counts.find(kind);
        return found == m_counts.end() ? 0 : found->second;
    }

    RunOptions m_options;
    std::map<OutcomeKind, int> m_counts;
    int m_invalid = 0;
    std::vector<double> m_micros; // time of each solve, for the statistics
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kaleno-solve"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Solves 9x9 number-placement grids, one a line, from the files or from standard input.\n"
        "Each grid gets one answer line: the 81 digits of its smallest completion in row-major\n"
        "order, 'no solution', 'input error' (a digit repeated in a row, column or box),\n"
        "'step limit' or 'invalid line'. Blank lines and lines starting with # are skipped."));
    parser.addHelpOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"),
        QStringLiteral("Each line is a JSON array of the 81 cell texts as typed; each answer a JSON object."));
    const QCommandLineOption engineOption(QStringLiteral("engine"),
        QStringLiteral("The search to use: fast (the default) or reference (the literal row-major search)."),
        QStringLiteral("name"), QStringLiteral("fast"));
    const QCommandLineOption maxStepsOption(QStringLiteral("max-steps"),
        QStringLiteral("Stop the reference search after N placements and answer 'step limit'."),
        QStringLiteral("N"));
    const QCommandLineOption statsOption(QStringLiteral("stats"),
        QStringLiteral("Print the count of each outcome and the time per grid on standard error."));
    parser.addOptions({jsonOption, engineOption, maxStepsOption, statsOption});
    parser.addPositionalArgument(QStringLiteral("FILE"),
        QStringLiteral("Files of grids; standard input when none is given, or for -."),
        QStringLiteral("[FILE...]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        return UsageOrFileError;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(AllRead);

    RunOptions options;
    options.json = parser.isSet(jsonOption);
    options.stats = parser.isSet(statsOption);
    const QString engine = parser.value(engineOption);
    if (engine == QLatin1String("fast")) {
        options.solve.engine = Engine::Fast;
    } else if (engine == QLatin1String("reference")) {
        options.solve.engine = Engine::Reference;
    } else {
        printError(QStringLiteral("unknown engine '%1' (use fast or reference)").arg(engine));
        return UsageOrFileError;
    }
    if (parser.isSet(maxStepsOption)) {
        bool ok = false;
        const qulonglong steps = parser.value(maxStepsOption).toULongLong(&ok);
        if (!ok) {
            printError(QStringLiteral("--max-steps needs a whole number, not '%1'").arg(parser.value(maxStepsOption)));
            return UsageOrFileError;
        }
        options.solve.maxPlacements = steps;
    }

    QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        files << QStringLiteral("-");

    SolveRun run(options);
    int status = AllRead;
    for (const QString &file : files) {
        QFile input;
        QString name = file;
        if (file == QLatin1String("-")) {
            name = QStringLiteral("<stdin>");
            input.open(stdin, QIODevice::ReadOnly);
        } else {
            input.setFileName(file);
            if (QFileInfo(file).isDir()) {
                printError(QStringLiteral("cannot read %1: it is a directory").arg(file));
                status = UsageOrFileError;
                continue;
            }
            if (!input.open(QIODevice::ReadOnly)) {
                printError(QStringLiteral("cannot read %1: %2").arg(file, input.errorString()));
                status = UsageOrFileError;
                continue;
            }
        }
        run.solveStream(input, name);
    }

    if (options.stats)
        run.printStats();
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        printError(QStringLiteral("cannot write the answers to standard output"));
        return UsageOrFileError;
    }
    if (status == AllRead && run.sawInvalidLine())
        status = SomeLineInvalid;
    return status;
}
