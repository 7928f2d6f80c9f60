// kaleno-solve: the window's solve command over files of grids, one grid a line.

#include "fast_engine.h"
#include "kaleno_version.h"
#include "line_formats.h"
#include "solve_core.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

using namespace kaleno;

namespace {

// A longer line is answered "invalid line" and skipped, without being held whole.
constexpr qint64 MaxLineBytes = 1 << 20;

enum ExitStatus {
    AllRead = 0,
    SomeLineInvalid = 1,
    UsageOrFileError = 2,
};

struct RunOptions
{
    bool json = false;
    bool stats = false;
    bool count = false; // count completions up to 2 instead of solving
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
    explicit SolveRun(const RunOptions &options) : m_options(options) { }

    /// Solves and answers the grid lines of one input. False when the run cannot go on with
    /// it: it could not be read (a message says why) or the answers could not be written.
    bool solveStream(QFile &input, const QString &name)
    {
        int lineNumber = 0;
        for (bool more = true; more;) {
            m_batch.clear();
            qint64 batchBytes = 0;
            while (m_batch.size() < BatchSize && batchBytes < BatchBytes) {
                QByteArray line;
                const LineRead read = readLine(input, line);
                if (read == LineRead::End || read == LineRead::Error) {
                    more = false;
                    if (read == LineRead::Error)
                        m_readFailed
                            = QStringLiteral("cannot read %1: %2").arg(name, input.errorString());
                    break;
                }
                ++lineNumber;
                batchBytes += line.size();
                const QByteArray content = line.trimmed();
                if (read == LineRead::Line && (content.isEmpty() || content.startsWith('#')))
                    continue;
                Entry &entry = m_batch.emplace_back();
                entry.lineNumber = lineNumber;
                if (read == LineRead::TooLong)
                    entry.error = QStringLiteral("longer than %1 bytes").arg(MaxLineBytes);
                else
                    entry.texts = m_options.json ? parseJsonLine(content, &entry.error)
                                                 : parsePlainLine(content, &entry.error);
            }
            solveBatch();
            answerBatch(name);
            if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
                m_writeError = errno;
                return false;
            }
        }
        if (!m_readFailed.isEmpty()) {
            printError(m_readFailed);
            m_readFailed.clear();
            return false;
        }
        return true;
    }

    /// The answers could not be written: standard output is closed, or its reader went away.
    bool writeFailed() const { return m_writeError != 0; }

    /// Why the answers could not be written, or 0.
    int writeError() const { return m_writeError; }

    void printStats() const
    {
        std::fprintf(stderr, "grids %lld:", m_grids + m_invalid);
        const char *separator = " ";
        for (const char *label : tallyLabels()) {
            std::fprintf(stderr, "%s%s %d", separator, label, tally(label));
            separator = ", ";
        }
        std::fprintf(stderr, ", invalid line %lld\n", m_invalid);
        if (m_micros.empty())
            return;
        std::vector<double> sorted = m_micros;
        std::sort(sorted.begin(), sorted.end());
        double sum = 0;
        for (double micros : sorted)
            sum += micros;
        const std::size_t middle = sorted.size() / 2;
        const double median
            = sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
        std::fprintf(stderr, "time per grid: mean %.2f us, median %.2f us, max %.2f us\n",
            sum / static_cast<double>(sorted.size()), median, sorted.back());
        rusage usage {};
        if (getrusage(RUSAGE_SELF, &usage) == 0)
            std::fprintf(stderr, "peak resident memory: %.1f MB\n",
                static_cast<double>(usage.ru_maxrss) / 1024.0);
    }

    bool sawInvalidLine() const { return m_invalid > 0; }

private:
    // One grid line, from its reading to its answer.
    struct Entry
    {
        int lineNumber = 0;
        std::optional<CellTexts> texts; // empty for a line that could not be read
        QString error; // why it could not
        SolveOutcome outcome;
        GridReading reading; // with --count
        int completions = 0; // with --count
    };

    // Lines are read, solved and answered a batch at a time: the solves then follow each other
    // with warm caches, and only they are timed. A batch holds so many lines or bytes at most.
    static constexpr std::size_t BatchSize = 256;
    static constexpr qint64 BatchBytes = 4 << 20;

    enum class LineRead { Line, TooLong, End, Error };

    // The next line, or the news that it was too long (then skipped to its end, never held
    // whole), or the end of the input, or a read error. Lines are read into one buffer that
    // serves them all.
    LineRead readLine(QFile &input, QByteArray &line)
    {
        // One byte more than the longest line, so that a full line's newline still fits, and one
        // for the terminating zero that readLine writes.
        if (m_buffer.isEmpty())
            m_buffer.resize(MaxLineBytes + 2);
        qint64 read = input.readLine(m_buffer.data(), m_buffer.size());
        if (read <= 0)
            return input.error() == QFileDevice::NoError ? LineRead::End : LineRead::Error;
        if (m_buffer[read - 1] == '\n' || read <= MaxLineBytes) {
            line = QByteArray(m_buffer.constData(), read);
            return LineRead::Line;
        }
        do {
            read = input.readLine(m_buffer.data(), 1 << 16);
            if (read <= 0)
                return input.error() == QFileDevice::NoError ? LineRead::TooLong : LineRead::Error;
        } while (m_buffer[read - 1] != '\n');
        return LineRead::TooLong;
    }

    void solveBatch()
    {
        for (Entry &entry : m_batch) {
            if (!entry.texts)
                continue;
            const auto start = std::chrono::steady_clock::now();
            if (m_options.count) {
                entry.reading = readCells(*entry.texts);
                if (entry.reading.ok())
                    entry.completions = countCompletions(entry.reading.givens, 2);
            } else {
                entry.outcome = solveCells(*entry.texts, m_options.solve);
            }
            const std::chrono::duration<double, std::micro> elapsed
                = std::chrono::steady_clock::now() - start;
            if (m_options.stats)
                m_micros.push_back(elapsed.count());
            ++m_grids;
        }
    }

    void answerBatch(const QString &name)
    {
        for (const Entry &entry : m_batch) {
            if (!entry.texts) {
                ++m_invalid;
                printError(QStringLiteral("%1:%2: invalid line: %3")
                               .arg(name)
                               .arg(entry.lineNumber)
                               .arg(entry.error));
                answer(m_options.json ? jsonInvalidLine() : QByteArray("invalid line"));
            } else if (m_options.count) {
                ++m_tallies[entry.reading.ok() ? countLabel(entry.completions) : "input error"];
                answer(m_options.json ? jsonCountAnswer(entry.reading, entry.completions)
                                      : plainCountAnswer(entry.reading, entry.completions));
            } else {
                ++m_tallies[outcomeWords(entry.outcome.kind)];
                answer(m_options.json ? jsonAnswer(entry.outcome) : plainAnswer(entry.outcome));
            }
        }
    }

    static const char *countLabel(int completions)
    {
        return completions == 0 ? "0 completions"
            : completions == 1  ? "1 completion"
                                : "2+ completions";
    }

    std::vector<const char *> tallyLabels() const
    {
        if (m_options.count)
            return {"0 completions", "1 completion", "2+ completions", "input error"};
        return {"solved", "no solution", "input error", "step limit"};
    }

    static void answer(const QByteArray &text)
    {
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
        std::fputc('\n', stdout);
    }

    int tally(const std::string &label) const
    {
        const auto found = m_tallies.find(label);
        return found == m_tallies.end() ? 0 : found->second;
    }

    RunOptions m_options;
    std::vector<Entry> m_batch;
    QByteArray m_buffer; // where lines are read
    std::map<std::string, int> m_tallies; // answers of each kind, by their label in the stats
    long long m_grids = 0; // lines solved or counted
    long long m_invalid = 0;
    QString m_readFailed; // why the current input could not be read to its end
    int m_writeError = 0; // errno of the write that failed
    std::vector<double> m_micros; // time of each solve or count, kept for --stats only
};

} // namespace

namespace {

bool isOpen(int descriptor)
{
    return fcntl(descriptor, F_GETFD) != -1 || errno != EBADF;
}

} // namespace

int main(int argc, char *argv[])
{
    // Before anything opens a file: a closed standard descriptor would be handed to that file,
    // and the answers written into it. Without standard output there is no point in going on;
    // a closed input or error stream is given /dev/null in its place.
    if (!isOpen(STDOUT_FILENO)) {
        if (isOpen(STDERR_FILENO))
            std::fputs(
                "kaleno-solve: cannot write the answers: standard output is closed\n", stderr);
        return UsageOrFileError;
    }
    for (int descriptor : {STDIN_FILENO, STDERR_FILENO}) {
        if (!isOpen(descriptor)) {
            const int null = open("/dev/null", descriptor == STDIN_FILENO ? O_RDONLY : O_WRONLY);
            if (null >= 0 && null != descriptor) {
                dup2(null, descriptor);
                close(null);
            }
        }
    }
    // A reader that goes away makes writes fail, and the run ends with a message, instead of
    // the signal killing it silently.
    std::signal(SIGPIPE, SIG_IGN);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kaleno-solve"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KALENO_VERSION_TEXT));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Solves 9x9 number-placement grids, one a line, from the files or from standard input.\n"
        "Each grid gets one answer line: the 81 digits of its smallest completion in row-major\n"
        "order, 'no solution', 'input error' (a digit repeated in a row, column or box),\n"
        "'step limit' or 'invalid line'. Blank lines and lines starting with # are skipped."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption jsonOption(QStringLiteral("json"),
        QStringLiteral(
            "Each line is a JSON array of the 81 cell texts as typed; each answer a JSON object."));
    const QCommandLineOption engineOption(QStringLiteral("engine"),
        QStringLiteral(
            "The search to use: fast (the default) or reference (the literal row-major search)."),
        QStringLiteral("name"), QStringLiteral("fast"));
    const QCommandLineOption maxStepsOption(QStringLiteral("max-steps"),
        QStringLiteral("Stop the reference search after N placements and answer 'step limit'."),
        QStringLiteral("N"));
    const QCommandLineOption countOption(QStringLiteral("count"),
        QStringLiteral(
            "Instead of the completion, print how many there are, counted up to two: 0, 1 or 2+."));
    const QCommandLineOption statsOption(QStringLiteral("stats"),
        QStringLiteral("Print the count of each outcome and the time per grid on standard error."));
    parser.addOptions({jsonOption, engineOption, maxStepsOption, countOption, statsOption});
    parser.addPositionalArgument(QStringLiteral("FILE"),
        QStringLiteral("Files of grids; standard input when none is given, or for -."),
        QStringLiteral("[FILE...]"));

    if (!parser.parse(QCoreApplication::arguments())) {
        printError(parser.errorText());
        return UsageOrFileError;
    }
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(AllRead);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    RunOptions options;
    options.json = parser.isSet(jsonOption);
    options.stats = parser.isSet(statsOption);
    options.count = parser.isSet(countOption);
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
            printError(QStringLiteral("--max-steps needs a whole number, not '%1'")
                           .arg(parser.value(maxStepsOption)));
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
            // By its descriptor: through the FILE *, a line would end at its first NUL byte.
            input.open(STDIN_FILENO, QIODevice::ReadOnly);
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
        if (!run.solveStream(input, name)) {
            status = UsageOrFileError;
            if (run.writeFailed())
                break; // nobody reads the answers any more
        }
    }

    if (options.stats)
        run.printStats();
    int writeError = run.writeError();
    if (!writeError && (std::fflush(stdout) != 0 || std::ferror(stdout)))
        writeError = errno;
    if (writeError) {
        printError(QStringLiteral("cannot write the answers to standard output: %1")
                       .arg(QString::fromLocal8Bit(std::strerror(writeError))));
        return UsageOrFileError;
    }
    if (status == AllRead && run.sawInvalidLine())
        status = SomeLineInvalid;
    return status;
}
