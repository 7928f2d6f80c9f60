// kaleno-solve's run in-process, on the threads it could start.

#include "grids.h"
#include "solve_run.h"

#include <gtest/gtest.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <memory>
#include <system_error>

#include <sys/mman.h>
#include <unistd.h>

namespace kaleno {
namespace {

using namespace testing;

struct Caught
{
    ExitStatus status;
    std::string out;
    std::string err;
};

std::string contents(int descriptor)
{
    std::string text;
    char buffer[1 << 16];
    EXPECT_EQ(lseek(descriptor, 0, SEEK_SET), 0);
    for (ssize_t got; (got = read(descriptor, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(got));
    return text;
}

// Runs kaleno-solve on `input`, its standard streams being files for the time of the run.
Caught solveInProcess(
    const std::string &input, const RunOptions &options, const ThreadStarter &start)
{
    std::array<int, 3> files {};
    std::array<int, 3> saved {};
    std::fflush(nullptr);
    for (int stream = 0; stream < 3; ++stream) {
        files[stream] = memfd_create("stream", MFD_CLOEXEC);
        saved[stream] = dup(stream);
    }
    EXPECT_EQ(write(files[0], input.data(), input.size()), static_cast<ssize_t>(input.size()));
    EXPECT_EQ(lseek(files[0], 0, SEEK_SET), 0);
    for (int stream = 0; stream < 3; ++stream)
        dup2(files[stream], stream);
    const ExitStatus status = runSolve(options, start);
    for (int stream = 0; stream < 3; ++stream) {
        dup2(saved[stream], stream);
        close(saved[stream]);
    }
    Caught caught {status, contents(files[1]), contents(files[2])};
    for (const int file : files)
        close(file);
    return caught;
}

// Starts `startable` threads, then fails as a system out of threads does.
ThreadStarter failingAfter(int startable)
{
    return [startable, started = std::make_shared<int>(0)](std::function<void()> work) {
        if ((*started)++ >= startable)
            throw std::system_error(EAGAIN, std::generic_category());
        return std::thread(std::move(work));
    };
}

TEST(KalenoSolveThreads, AnswersEveryGridOnTheThreadsThatCouldStart)
{
    // Grids that differ, enough for several chunks, and lines that are none among them.
    std::string input;
    std::string answers;
    for (int i = 0; i < 9000; ++i) {
        std::string grid(EmptyGrid);
        for (int cell = 0, rest = i; cell < 5; ++cell, rest /= 9)
            grid[static_cast<std::size_t>(cell * 10)] = static_cast<char>('1' + rest % 9);
        input += grid + (i % 7 == 0 ? "\nno grid\n" : "\n");
        answers += grid + (i % 7 == 0 ? "\ninvalid line\n" : "\n");
    }
    const struct
    {
        int jobs;
        int startable;
        const char *warning; // the start of standard error
    } cases[] = {
        {4, 4, "kaleno-solve: <stdin>:2: invalid line"},
        {4, 2,
            "kaleno-solve: warning: cannot start thread 3 of 4 (Resource temporarily "
            "unavailable): answering on 2\n"},
        {1, 0,
            "kaleno-solve: warning: cannot start thread 1 of 1 (Resource temporarily "
            "unavailable): answering on the main thread alone\n"},
    };
    for (const auto &c : cases) {
        RunOptions options;
        options.task = Task::Givens;
        options.jobs = c.jobs;
        options.files = {"-"};
        const Caught run = solveInProcess(input, options, failingAfter(c.startable));
        EXPECT_EQ(run.status, SomeLineInvalid) << c.startable;
        EXPECT_TRUE(run.out == answers) << c.startable;
        EXPECT_TRUE(run.err.starts_with(c.warning)) << run.err.substr(0, 200);
    }
}

} // namespace
} // namespace kaleno
