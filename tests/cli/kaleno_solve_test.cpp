// Runs the real kaleno-solve binary end to end.

#include "grids.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace kaleno {
namespace {

using namespace testing;

struct Finished
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QList<QByteArray> lines() const { return out.trimmed().split('\n'); }
};

Finished runSolve(const QStringList &arguments, const QByteArray &input = {})
{
    QProcess process;
    process.start(QStringLiteral(KALENO_SOLVE_PATH), arguments);
    EXPECT_TRUE(process.waitForStarted()) << KALENO_SOLVE_PATH;
    process.write(input);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(60000));
    Finished run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
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

TEST_F(KalenoSolve, AnswersAnEmptyGridFromStandardInput)
{
    const Finished run = runSolve({}, bytes(EmptyGrid) + '\n');
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, bytes(EmptyGridCompletion) + '\n');
}

TEST_F(KalenoSolve, AnswersEveryGridLineInOrderAndNamesTheBadOnes)
{
    QByteArray puzzle = bytes(SamplePuzzle);
    puzzle.replace('.', '0');
    const QByteArray repeated = "55" + QByteArray(79, '.');
    const QByteArray unsolvable = '.' + QByteArray("23456789") + '1' + QByteArray(71, '.');
    const QString path = writeFile(QStringLiteral("grids.txt"),
        "# a comment\n\n  " + puzzle + "  \r\n" + repeated + "\n" + unsolvable + "\n"
            + QByteArray(80, '.') + "\n");

    const Finished run = runSolve({path});
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> expected {
        bytes(SampleSolution), "input error", "no solution", "invalid line"};
    EXPECT_EQ(run.lines(), expected);
    EXPECT_TRUE(run.err.contains((path + QStringLiteral(":6: invalid line")).toUtf8()))
        << run.err.constData();
}

TEST_F(KalenoSolve, ReadsJsonCellTextsAsTheWindowDoes)
{
    QByteArray cells = "[\"1\",\"0.3\",\"2.5\"";
    for (int cell = 3; cell < CellCount; ++cell)
        cells += ",\"\"";
    cells += "]\n";
    QByteArray error = cells;
    error.replace("\"2.5\"", "\"12\"");

    const Finished run = runSolve({QStringLiteral("--json")}, cells + error + "[1, 2]\n");
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> lines = run.lines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith(R"({"outcome":"solved","texts":["1","3","2.5","4",)"))
        << lines[0].constData();
    EXPECT_TRUE(lines[0].endsWith(R"(],"orange":[0,1,2],"error_cell":null})"))
        << lines[0].constData();
    EXPECT_TRUE(lines[1].startsWith(R"({"outcome":"input_error","texts":["1","0.3","12","",)"))
        << lines[1].constData();
    EXPECT_TRUE(lines[1].endsWith(R"(],"orange":[0,1],"error_cell":2})")) << lines[1].constData();
    EXPECT_EQ(lines[2], R"({"outcome":"invalid_line"})");
}

TEST_F(KalenoSolve, BoundsTheReferenceSearchAndReportsStatistics)
{
    const Finished run = runSolve({QStringLiteral("--engine=reference"),
                                      QStringLiteral("--max-steps=5"), QStringLiteral("--stats")},
        bytes(SamplePuzzle) + '\n' + bytes(SampleSolution) + '\n');
    EXPECT_EQ(run.exitCode, 0);
    const QList<QByteArray> expected {"step limit", bytes(SampleSolution)};
    EXPECT_EQ(run.lines(), expected);
    EXPECT_TRUE(run.err.contains(
        "grids 2: solved 1, no solution 0, input error 0, step limit 1, invalid line 0"))
        << run.err.constData();
    EXPECT_TRUE(run.err.contains("time per grid: mean ")) << run.err.constData();
}

TEST_F(KalenoSolve, CountsCompletionsUpToTwo)
{
    QByteArray none = bytes(SamplePuzzle);
    none[1] = '2'; // fits its row, column and box, but leaves no completion
    const QByteArray input = bytes(SamplePuzzle) + '\n' + bytes(EmptyGrid) + '\n' + none + '\n'
        + "55" + QByteArray(79, '.') + '\n';

    const Finished plain = runSolve({QStringLiteral("--count")}, input);
    EXPECT_EQ(plain.exitCode, 0);
    const QList<QByteArray> expected {"1", "2+", "0", "input error"};
    EXPECT_EQ(plain.lines(), expected);

    QByteArray cells = "[\"12\"";
    for (int cell = 1; cell < CellCount; ++cell)
        cells += ",\"\"";
    cells += "]\n";
    const Finished json = runSolve({QStringLiteral("--count"), QStringLiteral("--json")}, cells);
    EXPECT_EQ(json.out, "{\"outcome\":\"input_error\",\"error_cell\":0}\n");
}

TEST_F(KalenoSolve, GivesTheSameAnswersWithEitherEngine)
{
    QByteArray input;
    for (const std::string_view grid : {SamplePuzzle, EmptyGrid, SampleSolution})
        input += bytes(grid) + '\n';
    const Finished fast = runSolve({}, input);
    const Finished reference = runSolve({QStringLiteral("--engine=reference")}, input);
    EXPECT_EQ(fast.exitCode, 0);
    EXPECT_EQ(fast.out, reference.out);
}

TEST_F(KalenoSolve, AnswersBinaryLinesAsInvalidAndGoesOn)
{
    QByteArray binary("abc\0def\n", 8);
    for (int byte = 0; byte < 256; ++byte) {
        if (byte != '\n')
            binary += static_cast<char>(byte);
    }
    binary += '\n';
    const Finished plain = runSolve({}, binary + bytes(SamplePuzzle) + '\n');
    EXPECT_EQ(plain.exitCode, 1);
    const QList<QByteArray> expected {"invalid line", "invalid line", bytes(SampleSolution)};
    EXPECT_EQ(plain.lines(), expected);
    EXPECT_TRUE(plain.err.contains("<stdin>:1: invalid line: expected 81 cells, found 7 bytes"))
        << plain.err.constData();

    // JSON must be UTF-8: a bad sequence is an invalid line, not a text with a stand-in.
    QByteArray cells = "[\"\xff\xfe\"";
    for (int cell = 1; cell < CellCount; ++cell)
        cells += ",\"\"";
    cells += "]\n";
    const Finished json = runSolve({QStringLiteral("--json")}, cells);
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(json.out, "{\"outcome\":\"invalid_line\"}\n");
    EXPECT_TRUE(json.err.contains("not valid UTF-8")) << json.err.constData();
}

TEST_F(KalenoSolve, SkipsAHundredMegabyteLineWithoutHoldingIt)
{
    const QString path = m_dir.filePath(QStringLiteral("long.txt"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const QByteArray chunk(1 << 20, 'x');
    for (int i = 0; i < 100; ++i)
        file.write(chunk);
    file.write("\n" + bytes(SamplePuzzle) + "\n");
    file.close();

    const Finished run = runSolve({QStringLiteral("--stats"), path});
    EXPECT_EQ(run.exitCode, 1);
    const QList<QByteArray> expected {"invalid line", bytes(SampleSolution)};
    EXPECT_EQ(run.lines(), expected);
    EXPECT_TRUE(run.err.contains(":1: invalid line: longer than 1048576 bytes"))
        << run.err.constData();
    const qsizetype at = run.err.indexOf("peak resident memory: ");
    ASSERT_GE(at, 0);
    const double megabytes = run.err.mid(at + 22).split(' ').first().toDouble();
    EXPECT_GT(megabytes, 0.0);
    EXPECT_LT(megabytes, 90.0); // far below the line's 100 MB, even with the sanitizers' overhead
}

TEST_F(KalenoSolve, ReportsInputsThatCannotBeRead)
{
    // Opens, then fails on the first read.
    const Finished run = runSolve(
        {QStringLiteral("/proc/self/mem"), QStringLiteral("-")}, bytes(SamplePuzzle) + '\n');
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("cannot read /proc/self/mem")) << run.err.constData();
    EXPECT_EQ(run.out, bytes(SampleSolution) + '\n'); // the next input is still answered
}

// Runs a shell command line with $SOLVE standing for the program; its exit status and stderr.
Finished runShell(const QString &commandLine)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SOLVE"), QStringLiteral(KALENO_SOLVE_PATH));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("/bin/bash"), {QStringLiteral("-c"), commandLine});
    EXPECT_TRUE(process.waitForFinished(120000));
    Finished run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

TEST_F(KalenoSolve, StopsWithAMessageWhenTheAnswersCannotBeWritten)
{
    const QString puzzle = QString::fromLatin1(bytes(SamplePuzzle));
    const Finished closed = runShell(QStringLiteral("echo '%1' | \"$SOLVE\" >&-").arg(puzzle));
    EXPECT_EQ(closed.exitCode, 2);
    EXPECT_TRUE(closed.err.contains("standard output is closed")) << closed.err.constData();

    // The reader goes away after the first bytes: the run stops instead of solving on.
    const Finished gone
        = runShell(QStringLiteral("set -o pipefail; yes '%1' | head -n 200000 | \"$SOLVE\" | head "
                                  "-c 10 >/dev/null; echo ${PIPESTATUS[2]} >&2")
                       .arg(puzzle));
    EXPECT_TRUE(gone.err.contains("cannot write the answers to standard output: Broken pipe"))
        << gone.err.constData();
    EXPECT_TRUE(gone.err.trimmed().endsWith("2")) << gone.err.constData();
}

TEST_F(KalenoSolve, FailsWithStatusTwoOnUsageAndFileErrors)
{
    const QString missing = m_dir.filePath(QStringLiteral("missing.txt"));
    const QString good = writeFile(QStringLiteral("good.txt"), bytes(EmptyGrid) + '\n');
    const Finished unreadable = runSolve({missing, good});
    EXPECT_EQ(unreadable.exitCode, 2);
    EXPECT_TRUE(unreadable.err.contains(("cannot read " + missing).toUtf8()))
        << unreadable.err.constData();
    EXPECT_EQ(
        unreadable.out, bytes(EmptyGridCompletion) + '\n'); // the readable file is still answered

    const Finished directory = runSolve({m_dir.path()});
    EXPECT_EQ(directory.exitCode, 2);
    EXPECT_TRUE(directory.err.contains("directory")) << directory.err.constData();

    for (const QStringList &arguments :
        {QStringList {QStringLiteral("--bogus")}, QStringList {QStringLiteral("--engine=other")},
            QStringList {QStringLiteral("--max-steps=many")}}) {
        const Finished run = runSolve(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.startsWith("kaleno-solve: ")) << run.err.constData();
    }
}

} // namespace
} // namespace kaleno
