// kaleno-solve: its parts in-process, then the real binary end to end, among other programs
// too.

#include "answers.h"
#include "chunk_work.h"
#include "grid_generator.h"
#include "grids.h"
#include "options.h"
#include "run_stats.h"
#include "solve_run.h"
#include "stats_report.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

namespace kaleno {
namespace {

using namespace kaleno::testing;

QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

TEST(KalenoSolveOptions, RefusesWhatWouldBeIgnoredOrCannotMix)
{
    auto parse = [](const QString &line) {
        return parseCommandLine(
            QStringList {QStringLiteral("kaleno-solve")} + line.split(' ', Qt::SkipEmptyParts), 3);
    };
    for (const char *line : {"--max-steps=5", "--count --engine=reference --max-steps=5",
             "--json --pretty", "--json --givens", "--count --givens", "--jobs=0", "--jobs=x",
             "--engine=other", "--bogus", "--stats=xml"})
        EXPECT_EQ(parse(QString::fromLatin1(line)).action, ParsedCommandLine::Action::UsageError)
            << line;

    const ParsedCommandLine bounded
        = parse(QStringLiteral("--engine=reference --max-steps=5 --stats=json a b"));
    ASSERT_EQ(bounded.action, ParsedCommandLine::Action::Run);
    EXPECT_EQ(bounded.options.stats, StatsForm::Json);
    EXPECT_EQ(bounded.options.solve.maxPlacements, 5u);
    EXPECT_EQ(bounded.options.jobs, 3); // every core by default
    EXPECT_EQ(bounded.options.files, (std::vector<std::string> {"a", "b"}));
    EXPECT_EQ(parse(QString()).options.files, std::vector<std::string> {"-"});
}

TEST(KalenoSolveAnswers, DrawsTheBoxesOfAPrettyGrid)
{
    std::string out;
    appendGrid(out, grid(SamplePuzzle), Layout::Pretty);
    EXPECT_EQ(out,
        "1 . . | . . 7 | . 9 .\n. 3 . | . 2 . | . . 8\n. . 9 | 6 . . | 5 . .\n"
        "------+-------+------\n. . 5 | 3 . . | 9 . .\n. 1 . | . 8 . | . . 2\n"
        "6 . . | . . 4 | . . .\n------+-------+------\n3 . . | . . . | . 1 .\n"
        ". 4 . | . . . | . . 7\n. . 7 | . . . | 3 . .\n");
}

TEST(KalenoSolveStats, TakesTheMeanAndTheMaxFromTheSameTimes)
{
    using Times = std::vector<double>;
    // The times of the grids, in parts timed apart then added up; each of the slowest timed
    // again; the mean and the max.
    const std::tuple<std::vector<Times>, double, double, double> cases[] = {
        {{Times(80, 5), Times(20, 1000)}, 6, 5.2, 6}, // twenty slow once only
        // Left out as faster ones came, when a part was added, or at once.
        {{{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21}}, 0.5,
            11.0 / 21, 1},
        {{Times(11, 10), Times(10, 10)}, 1, 30.0 / 21, 10},
        {{Times(21, 10)}, 1, 30.0 / 21, 10},
    };
    for (const auto &[parts, again, mean, max] : cases) {
        RunStats total;
        for (const Times &part : parts) {
            RunStats stats;
            for (const double micros : part)
                stats.addTime(micros, Grid {});
            total.add(stats);
        }
        const RunStats::Times timed = total.timedAgain(Times(total.slowest().size(), again));
        EXPECT_EQ(std::pair(timed.meanMicros, timed.maxMicros), std::pair(mean, max));
    }
}

TEST(KalenoSolveStats, CountEveryAnswerInTheTotal)
{
    RunStats stats;
    for (const Tally tally :
        {Tally::Solved, Tally::StepLimit, Tally::InvalidLine, Tally::InvalidLine})
        stats.count(tally);
    const std::pair<StatsForm, std::string> forms[]
        = {{StatsForm::Text,
               "grids 4: solved 1, no solution 0, input error 0, step limit 1, invalid line 2\n"},
            {StatsForm::Json,
                R"({"grids":4,"answers":{"solved":1,"no_solution":0,"input_error":0,)"
                R"("step_limit":1,"invalid_line":2},"solve_alone":null,"wall_s":2.000,)"
                R"("grids_per_second":2,"threads":1,"peak_memory_mb":)"}};
    RunOptions options;
    for (const auto &[form, start] : forms) {
        options.stats = form;
        ::testing::internal::CaptureStderr();
        printStats(stats, options, 1, 2.0);
        const std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(printed.starts_with(start)) << printed;
    }
}

// A text of many grids in every format, with broken blocks and lines that are no grid.
std::string mixedFormats(int grids, std::uint64_t seed)
{
    Random random(seed);
    std::string text;
    for (int i = 0; i < grids; ++i) {
        const Grid givens = sparseGrid(random, random.below(30));
        std::string out;
        switch (random.below(6)) {
        case 0:
            appendGrid(out, givens, Layout::Line);
            break;
        case 1:
            out = "# grid " + std::to_string(i) + "\n\n";
            appendGrid(out, givens, Layout::Pretty);
            break;
        case 2:
        case 3: // rows of nine, back to back, no line between the grids
            for (int row = 0; row < GridSize; ++row)
                out += gridText(givens).substr(static_cast<std::size_t>(row * GridSize), GridSize)
                    + '\n';
            break;
        case 4: // a block that breaks off
            appendGrid(out, givens, Layout::Pretty);
            out.resize(out.size() / 2);
            out += "\n";
            break;
        default:
            out = "not a grid\n";
        }
        text += out;
    }
    return text;
}

// The answers to a text cut into chunks as kaleno-solve cuts its input.
ChunkAnswers answersInChunks(
    const std::string &text, const RunOptions &options, LineNumber firstLine = 1)
{
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    std::thread writer([&] {
        EXPECT_EQ(write(pipeEnds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
        close(pipeEnds[1]);
    });
    ChunkReader reader(pipeEnds[0], !options.json, firstLine);
    ChunkAnswers answers;
    Chunk chunk;
    int chunks = 0;
    for (; reader.next(chunk); ++chunks)
        answerChunk(chunk, options, "x", answers);
    writer.join();
    close(pipeEnds[0]);
    EXPECT_GT(chunks, 2);
    return answers;
}

TEST(KalenoSolveChunks, ReadEveryGridOnceWhereverTheCutsFall)
{
    RunOptions options;
    options.task = Task::Givens;
    const std::string text = mixedFormats(40000, 7);
    Chunk whole;
    whole.text = text;
    whole.endsInput = true;
    ChunkAnswers wholeAnswers;
    answerChunk(whole, options, "x", wholeAnswers);
    const ChunkAnswers chunked = answersInChunks(text, options);
    EXPECT_TRUE(chunked.out == wholeAnswers.out);
    EXPECT_TRUE(chunked.errors == wholeAnswers.errors); // the lines they name past the first chunk

    // Nothing but rows: no line ends every block, and each cut carries the open block on.
    std::string rows;
    for (int i = 0; i < 100000; ++i)
        rows += std::string(i % 9 == 0 ? "1" : ".") + "........\n";
    whole.text = rows;
    const ChunkAnswers rowAnswers = answersInChunks(rows, options);
    wholeAnswers = {};
    answerChunk(whole, options, "x", wholeAnswers);
    EXPECT_TRUE(rowAnswers.out == wholeAnswers.out); // no diff of megabytes
    EXPECT_EQ(rowAnswers.errors, wholeAnswers.errors);
    EXPECT_TRUE(rowAnswers.out.ends_with("invalid line\n"));
}

TEST(KalenoSolveChunks, NumberLinesPastTwoToTheThirtyFirst)
{
    // Two comment lines of a chunk each, up to line 2^31 - 1.
    const std::string comments = std::string(300000, '#') + '\n' + std::string(300000, '#') + '\n';
    const LineNumber first = (LineNumber {1} << 31) - 2;
    EXPECT_EQ(answersInChunks(comments + "1........\n\ny\n", RunOptions(), first).errors,
        "kaleno-solve: x:2147483648: invalid line: the grid breaks off after 1 row: line "
        "2147483649 is empty or a comment\nkaleno-solve: x:2147483650: invalid line: 'y' at "
        "column 1\n");
    RunOptions json;
    json.json = true;
    EXPECT_EQ(answersInChunks(comments + "[1]\n", json, first).errors,
        "kaleno-solve: x:2147483648: invalid line: expected a JSON array of 81 strings\n");
    // Chunks of nothing but line ends.
    EXPECT_EQ(answersInChunks(std::string(600000, '\n') + "y\n", RunOptions()).errors,
        "kaleno-solve: x:600001: invalid line: 'y' at column 1\n");
}

struct Finished
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QList<QByteArray> lines() const { return out.trimmed().split('\n'); }
};

// Runs a shell command line with $SOLVE standing for kaleno-solve.
Finished runShell(const QString &commandLine, const QByteArray &input = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SOLVE"), QStringLiteral(KALENO_SOLVE_PATH));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), commandLine});
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(300000));
    Finished run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

Finished runSolve(const QString &arguments, const QByteArray &input = {})
{
    return runShell(QStringLiteral("\"$SOLVE\" ") + arguments, input);
}

class KalenoSolve : public ::testing::Test
{
protected:
    QString writeFile(const QString &name, const QByteArray &content)
    {
        QString path = m_dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return path;
    }

    QTemporaryDir m_dir;
};

TEST_F(KalenoSolve, AnswersEveryGridInOrderAndNamesTheBadLines)
{
    const QByteArray repeated = "55" + QByteArray(79, '.');
    const QByteArray unsolvable = '.' + QByteArray("23456789") + '1' + QByteArray(71, '.');
    const QByteArray binary("abc\0def\n", 8);
    const QString path = writeFile(QStringLiteral("grids.txt"),
        "# a comment\n\n  " + bytes(SamplePuzzle) + "  \r\n" + repeated + "\n" + unsolvable + "\n"
            + binary + bytes(EmptyGrid) + '\n');

    const Finished run = runSolve(path);
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> expected {bytes(SampleSolution), "input error", "no solution",
        "invalid line", bytes(EmptyGridCompletion)};
    EXPECT_EQ(run.lines(), expected);
    EXPECT_TRUE(
        run.err.contains((path + QStringLiteral(":6: invalid line: 'a' at column 1")).toUtf8()))
        << run.err.constData();
}

TEST_F(KalenoSolve, ReadsJsonCellTextsAsTheWindowDoes)
{
    auto cells = [](const QByteArray &first) {
        QByteArray line = "[" + first;
        for (int cell = 1; cell < CellCount; ++cell)
            line += ",\"\"";
        return line + "]\n";
    };
    const Finished run = runSolve(QStringLiteral("--json"),
        cells("\"1\",\"0.3\",\"2.5\"").replace(",\"\",\"\"]", "]") + cells("\"12\"") + "[1, 2]\n"
            + cells("\"\xff\""));
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].startsWith(R"({"outcome":"solved","texts":["1","3","2.5","4",)"))
        << lines[0].constData();
    EXPECT_TRUE(lines[0].endsWith(R"(],"orange":[0,1,2],"error_cell":null})"))
        << lines[0].constData();
    EXPECT_EQ(lines[1],
        R"({"outcome":"input_error","texts":["12",)" + QByteArray(R"("",)").repeated(79)
            + R"(""],"orange":[],"error_cell":0})");
    EXPECT_EQ(lines[2], R"({"outcome":"invalid_line"})");
    EXPECT_EQ(lines[3], R"({"outcome":"invalid_line"})"); // JSON must be UTF-8
    EXPECT_TRUE(run.err.contains("not valid UTF-8")) << run.err.constData();
}

TEST_F(KalenoSolve, CountsCompletionsUpToTwo)
{
    QByteArray none = bytes(SamplePuzzle);
    none[1] = '2'; // fits its row, column and box, but leaves no completion
    const QByteArray repeated = "55" + QByteArray(79, '.');
    const Finished plain = runSolve(QStringLiteral("--count"),
        bytes(SamplePuzzle) + '\n' + bytes(EmptyGrid) + '\n' + none + '\n' + repeated + '\n');
    EXPECT_EQ(plain.exitCode, 0);
    EXPECT_EQ(plain.out, "1\n2+\n0\ninput error\n");

    const QByteArray empties = QByteArray(",\"\"").repeated(79) + "]\n";
    const Finished json = runSolve(
        QStringLiteral("--count --json"), "[\"5\",\"5\"" + empties + "[\"12\",\"\"" + empties);
    EXPECT_EQ(json.out,
        "{\"outcome\":\"input_error\",\"error_cell\":null}\n"
        "{\"outcome\":\"input_error\",\"error_cell\":0}\n");
}

TEST_F(KalenoSolve, BoundsTheReferenceSearchAndReportsStatistics)
{
    const Finished run
        = runSolve(QStringLiteral("--engine=reference --max-steps=5 --stats --jobs=2"),
            bytes(SamplePuzzle) + '\n' + bytes(SampleSolution) + '\n');
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, "step limit\n" + bytes(SampleSolution) + '\n');
    for (const char *line :
        {"grids 2: solved 1, no solution 0, input error 0, step limit 1, invalid line 0\n",
            "solve alone: total ", " grids a second, on 2 threads\n", "peak resident memory: "})
        EXPECT_TRUE(run.err.contains(line)) << run.err.constData();
}

TEST_F(KalenoSolve, SkipsAHundredMegabyteLineWithoutHoldingIt)
{
    const Finished run
        = runShell(QStringLiteral("{ head -c 100000000 /dev/zero | tr '\\0' x; echo; echo '%1'; }"
                                  " | \"$SOLVE\" --stats")
                       .arg(QString::fromLatin1(bytes(SamplePuzzle))));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, "invalid line\n" + bytes(SampleSolution) + '\n');
    EXPECT_TRUE(run.err.contains("<stdin>:1: invalid line: longer than 1048576 bytes"))
        << run.err.constData();
    const qsizetype at = run.err.indexOf("peak resident memory: ");
    ASSERT_GE(at, 0);
    EXPECT_LT(
        run.err.mid(at + 22).split(' ').first().toDouble(), 90.0); // far below the line's 100 MB
}

TEST_F(KalenoSolve, ReportsWhatCannotBeReadOrWrittenWithStatusTwo)
{
    const QString good = writeFile(QStringLiteral("good.txt"), bytes(EmptyGrid) + '\n');
    // Missing; a directory; opens, then fails on the first read. The readable input is answered.
    const Finished run
        = runSolve(QStringLiteral("missing.txt %1 /proc/self/mem %2").arg(m_dir.path(), good));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.out, bytes(EmptyGridCompletion) + '\n');
    for (const char *message : {"cannot read missing.txt: No such file", "it is a directory",
             "cannot read /proc/self/mem"})
        EXPECT_TRUE(run.err.contains(message)) << run.err.constData();

    // A standard stream closed; the help and the version into a full disk.
    const std::pair<const char *, const char *> streams[]
        = {{">&-", "cannot write the answers: standard output is closed\n"},
            {"<&-", "cannot read the grids: standard input is closed\n"},
            {"--help >/dev/full", "cannot write to standard output: No space left on device\n"},
            {"--version >/dev/full", "cannot write to standard output: No space left on device\n"}};
    for (const auto &[redirection, why] : streams) {
        const Finished failed = runSolve(QLatin1String(redirection));
        EXPECT_EQ(failed.exitCode, 2) << redirection;
        EXPECT_EQ(failed.err.toStdString(), std::string("kaleno-solve: ") + why);
    }
    // The reader goes away after the first bytes: the run stops instead of solving on.
    const QString puzzle = QString::fromLatin1(bytes(SamplePuzzle));
    const Finished gone
        = runShell(QStringLiteral("yes '%1' | head -n 200000 | \"$SOLVE\" | head -c 10 >/dev/null;"
                                  " echo ${PIPESTATUS[2]} >&2")
                       .arg(puzzle));
    EXPECT_TRUE(gone.err.contains("cannot write the answers to standard output: Broken pipe"))
        << gone.err.constData();
    EXPECT_TRUE(gone.err.trimmed().endsWith("2")) << gone.err.constData();
}

TEST_F(KalenoSolve, AnswersTheSameOnAnyNumberOfThreadsAndOverMachines)
{
    // 100,000 grids in nine-line blocks and on one line, drawn from a few thousand.
    const std::string some = mixedFormats(3000, 11);
    std::string text;
    for (int copies = 0; copies < 34; ++copies)
        text += some;
    const QString blocks = writeFile(QStringLiteral("blocks.txt"), bytes(text));
    const Finished one = runSolve(QStringLiteral("--jobs=1 ") + blocks);
    EXPECT_EQ(one.exitCode, 1); // the text has lines that are no grid
    EXPECT_GT(one.lines().size(), 100000);
    for (const char *jobs : {"--jobs=2 ", "--jobs=8 "})
        EXPECT_TRUE(runSolve(QLatin1String(jobs) + blocks).out == one.out) << jobs;

    // Spread over machines: parallel cuts at lines, so blocks go through --givens first.
    const Finished spread = runShell(
        QStringLiteral("\"$SOLVE\" --givens %1 | parallel --pipe -k -j2 --block 1M \"$SOLVE\"")
            .arg(blocks));
    EXPECT_TRUE(spread.out == one.out);
}

class KalenoSolveThreads : public KalenoSolve
{
};

TEST_F(KalenoSolveThreads, AnswersEveryGridOnTheThreadsThatCouldStart)
{
    // Grids enough for several chunks, and lines that are none among them.
    const std::string text = mixedFormats(8000, 3);
    RunOptions options;
    options.task = Task::Givens;
    // Pretty, over two files: one blank line between answers, none before the first.
    const std::string lines = answersInChunks(text, options).out;
    std::string answers;
    for (int file = 0; file < 2; ++file) {
        forEachLine(lines, [&answers](std::string_view line) {
            answers += answers.empty() ? "" : "\n";
            if (line == "invalid line")
                answers += "invalid line\n";
            else
                appendGrid(answers, grid(line), Layout::Pretty);
        });
    }
    options.pretty = true;
    options.jobs = 4;
    const std::string file = writeFile(QStringLiteral("grids.txt"), bytes(text)).toStdString();
    options.files = {file, file};
    // Threads that start, then none; how standard error starts.
    const std::pair<int, const char *> cases[] = {{4, "kaleno-solve: /"},
        {2,
            "kaleno-solve: warning: cannot start thread 3 of 4 (Resource temporarily "
            "unavailable): answering on 2\n"},
        {0,
            "kaleno-solve: warning: cannot start thread 1 of 4 (Resource temporarily "
            "unavailable): answering on the main thread alone\n"}};
    for (const auto &[startable, warning] : cases) {
        int started = 0;
        const ThreadStarter start = [&, startable = startable](std::function<void()> work) {
            return started++ == startable ? throw std::system_error(EAGAIN, std::generic_category())
                                          : std::thread(std::move(work));
        };
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(kaleno::runSolve(options, start), SomeLineInvalid);
        EXPECT_TRUE(::testing::internal::GetCapturedStdout() == answers) << startable;
        EXPECT_TRUE(::testing::internal::GetCapturedStderr().starts_with(warning)) << startable;
    }
}

TEST_F(KalenoSolve, AsACoprocessAnswersEachGridBeforeTheNextIsWritten)
{
    const QByteArray rows = "1....7.9.\n.3..2...8\n..96..5..\n..53..9..\n.1..8...2\n6....4...\n"
                            "3......1.\n.4......7\n..7...3..\n";
    const std::pair<QByteArray, std::string_view> turns[]
        = {{bytes(SamplePuzzle) + '\n', SampleSolution}, {rows, SampleSolution},
            {bytes(EmptyGrid) + '\n', EmptyGridCompletion}};
    // The threads, and whether a read of the input finds nothing yet instead of waiting.
    const std::pair<const char *, bool> cases[]
        = {{"--jobs=1", false}, {"--jobs=2", false}, {"--jobs=2", true}};
    for (const auto &[jobs, inputWaitsNot] : cases) {
        QProcess solve;
        if (inputWaitsNot)
            solve.setChildProcessModifier([] { fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK); });
        solve.start(QStringLiteral(KALENO_SOLVE_PATH), {QLatin1String(jobs)});
        // A grid on one line is answered at its line end, a block at its ninth row.
        for (const auto &[grid, answer] : turns) {
            solve.write(grid);
            const QDeadlineTimer deadline(10000);
            while (!solve.canReadLine()
                && solve.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) { }
            EXPECT_EQ(solve.readLine().toStdString(), std::string(answer) + '\n')
                << jobs << inputWaitsNot;
        }
        solve.closeWriteChannel();
        EXPECT_TRUE(solve.waitForFinished(10000));
        EXPECT_EQ(solve.exitCode(), 0);
    }
}

TEST_F(KalenoSolve, AsACoprocessWaitsForALateReaderOfAnOutputThatDoesNotWait)
{
    // Answers enough to fill the pipe many times, to an output that does not wait (O_NONBLOCK).
    QProcess solve;
    solve.setStandardInputFile(
        writeFile(QStringLiteral("grids.txt"), (bytes(EmptyGrid) + '\n').repeated(5000)));
    solve.setChildProcessModifier([] { fcntl(STDOUT_FILENO, F_SETFL, O_NONBLOCK); });
    solve.start(QStringLiteral(KALENO_SOLVE_PATH), QStringList());
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_TRUE(solve.waitForFinished(300000));
    EXPECT_EQ(solve.exitCode(), 0);
    EXPECT_TRUE(
        solve.readAllStandardOutput() == (bytes(EmptyGridCompletion) + '\n').repeated(5000));
}

} // namespace
} // namespace kaleno
