// The two programs run as a user runs them, on what they must not hang on or misread.

#include "grids.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace kaleno {
namespace {

using namespace kaleno::testing;

// What a shell command writes, its errors included, then "status N": with no display to be
// found, and a deadline that only a hang reaches.
std::string run(const std::string &command)
{
    const std::string line = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM timeout 120 "
        + command + " 2>&1; echo status $?";
    FILE *out = popen(line.c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer {};
    for (std::size_t got; out && (got = std::fread(buffer.data(), 1, buffer.size(), out)) > 0;)
        output.append(buffer.data(), got);
    EXPECT_TRUE(out && pclose(out) == 0);
    return output;
}

TEST(KalenoWithoutADisplay, ReadsItsCommandLineFirst)
{
    const struct
    {
        std::string arguments;
        int status;
        const char *says;
    } cases[] = {
        {"--help", 0, "Usage: kaleno [GRID | FILE]\n"},
        {"--version", 0, "kaleno 1."},
        {"nosuch.txt", 2, "kaleno: nosuch.txt: no such file, and not a grid either\n"},
        {"12345", 2, "kaleno: the argument is not a grid: 5 cells"},
        {"/dev/zero", 2, "kaleno: no grid in the first 4 MB of /dev/zero\n"},
        {"/dev/urandom", 2, "kaleno: no grid in the first 4 MB of /dev/urandom\n"},
        {"-style Fusion " + std::string(SamplePuzzle), 2, "kaleno: no display found;"},
    };
    for (const auto &c : cases) {
        const std::string output = run(std::string(KALENO_PATH) + ' ' + c.arguments);
        EXPECT_NE(output.find(c.says), std::string::npos) << output;
        EXPECT_TRUE(output.ends_with("status " + std::to_string(c.status) + '\n')) << output;
    }
    // Help and version into a full disk: the write fails, and says so.
    for (const char *option : {" --help", " --version"})
        EXPECT_EQ(run("sh -c '" + std::string(KALENO_PATH) + option + " >/dev/full'"),
            "kaleno: cannot write to standard output: No space left on device\nstatus 2\n");
}

TEST(KalenoSolveByteOrderMark, IsSkippedAtTheStartOfAFileAndOfStandardInput)
{
    // Two blocks of nine rows after the mark: two answers, and nothing refused.
    std::string rows;
    for (std::size_t row = 0; row < GridSize; ++row)
        rows += std::string(SamplePuzzle.substr(row * GridSize, GridSize)) + '\n';
    const std::string path
        = std::filesystem::temp_directory_path() / ("kaleno-marked-" + std::to_string(getpid()));
    std::ofstream(path) << "\xEF\xBB\xBF" << rows << rows;
    const std::string answer = std::string(SampleSolution) + '\n';
    for (const char *input : {" ", " < "})
        EXPECT_EQ(run(KALENO_SOLVE_PATH + (input + path)), answer + answer + "status 0\n");
    std::filesystem::remove(path);
}

} // namespace
} // namespace kaleno
