// kaleno-solve run by other programs: as a coprocess that waits for each answer before it writes
// the next grid, on pipes that do not wait, and with its standard streams closed or full.

#include "grids.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kaleno {
namespace {

using namespace testing;

// Starts kaleno-solve with `arguments`, reading `input` and writing its answers to `output`.
pid_t startSolve(std::vector<std::string> arguments, int input, int output)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output, STDOUT_FILENO);
    std::string program = KALENO_SOLVE_PATH;
    std::vector<char *> argv {program.data()};
    for (std::string &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    EXPECT_EQ(posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(input);
    close(output);
    return pid;
}

int exitStatus(pid_t pid)
{
    int status = 0;
    EXPECT_EQ(waitpid(pid, &status, 0), pid);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The next line of `descriptor`, without its '\n', or what came of it within ten seconds.
std::string nextLine(int descriptor)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::string line;
    for (char c = 0;; line += c) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd input {descriptor, POLLIN, 0};
        if (left.count() <= 0 || poll(&input, 1, static_cast<int>(left.count())) <= 0
            || read(descriptor, &c, 1) != 1 || c == '\n')
            return line;
    }
}

TEST(KalenoSolveAsCoprocess, AnswersEachGridBeforeTheNextIsWritten)
{
    const std::string rows = "1....7.9.\n.3..2...8\n..96..5..\n..53..9..\n.1..8...2\n6....4...\n"
                             "3......1.\n.4......7\n..7...3..\n";
    const struct
    {
        const char *jobs;
        bool inputWaitsNot; // O_NONBLOCK: a read finds nothing yet instead of waiting
    } cases[] = {{"--jobs=1", false}, {"--jobs=2", false}, {"--jobs=2", true}};
    for (const auto &c : cases) {
        int in[2], out[2];
        ASSERT_EQ(pipe2(in, O_CLOEXEC), 0);
        ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
        if (c.inputWaitsNot) {
            ASSERT_EQ(fcntl(in[0], F_SETFL, O_NONBLOCK), 0);
        }
        const pid_t solve = startSolve({c.jobs}, in[0], out[1]);
        // A grid on one line is answered at its line end, a block at its ninth row.
        const std::pair<std::string, std::string_view> turns[]
            = {{std::string(SamplePuzzle) + '\n', SampleSolution}, {rows, SampleSolution},
                {std::string(EmptyGrid) + '\n', EmptyGridCompletion}};
        for (const auto &[grid, answer] : turns) {
            ASSERT_EQ(write(in[1], grid.data(), grid.size()), static_cast<ssize_t>(grid.size()));
            EXPECT_EQ(nextLine(out[0]), answer) << c.jobs << (c.inputWaitsNot ? " O_NONBLOCK" : "");
        }
        close(in[1]);
        EXPECT_EQ(nextLine(out[0]), "");
        EXPECT_EQ(exitStatus(solve), 0);
        close(out[0]);
    }
}

TEST(KalenoSolveAsCoprocess, WaitsForALateReaderOfAnOutputThatDoesNotWait)
{
    constexpr int Grids = 5000; // their answers fill the pipe many times
    std::string grids;
    std::string answers;
    for (int i = 0; i < Grids; ++i) {
        grids += std::string(EmptyGrid) + '\n';
        answers += std::string(EmptyGridCompletion) + '\n';
    }
    const int input = memfd_create("grids", MFD_CLOEXEC);
    ASSERT_EQ(write(input, grids.data(), grids.size()), static_cast<ssize_t>(grids.size()));
    ASSERT_EQ(lseek(input, 0, SEEK_SET), 0);
    int out[2];
    ASSERT_EQ(pipe2(out, O_CLOEXEC), 0);
    ASSERT_EQ(fcntl(out[1], F_SETFL, O_NONBLOCK), 0);
    const pid_t solve = startSolve({}, input, out[1]);
    std::this_thread::sleep_for(std::chrono::seconds(1));
    std::string read;
    char buffer[1 << 16];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;)
        read.append(buffer, static_cast<std::size_t>(got));
    close(out[0]);
    EXPECT_EQ(exitStatus(solve), 0);
    EXPECT_EQ(read.size(), answers.size());
    EXPECT_TRUE(read == answers);
}

TEST(KalenoSolveStreams, SaysWhatItCannotReadOrWriteWithStatusTwo)
{
    const struct
    {
        const char *redirections; // standard error goes to the test first
        const char *message;
    } cases[] = {
        {"<&-", "cannot read the grids: standard input is closed\n"},
        {"--help >/dev/full", "cannot write to standard output: No space left on device\n"},
        {"--version >/dev/full", "cannot write to standard output: No space left on device\n"},
    };
    for (const auto &c : cases) {
        const std::string command
            = std::string("'") + KALENO_SOLVE_PATH + "' 2>&1 " + c.redirections;
        FILE *run = popen(command.c_str(), "r");
        ASSERT_NE(run, nullptr);
        char said[200] = {};
        EXPECT_GT(std::fread(said, 1, sizeof said - 1, run), 0u);
        const int status = pclose(run);
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2) << c.redirections;
        EXPECT_EQ(said, "kaleno-solve: " + std::string(c.message));
    }
}

} // namespace
} // namespace kaleno
