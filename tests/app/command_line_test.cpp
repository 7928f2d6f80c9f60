#include "command_line.h"
#include "grids.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>

namespace kaleno {
namespace {

using namespace kaleno::testing;

StartRequest read(std::initializer_list<std::string> arguments)
{
    std::vector<std::string> all {"kaleno"};
    all.insert(all.end(), arguments);
    return readCommandLine(all);
}

class KalenoCommandLine : public ::testing::Test
{
protected:
    std::string file(const std::string &name, const std::string &content)
    {
        const std::filesystem::path path = m_folder / name;
        std::ofstream(path) << content;
        return path.string();
    }

    std::filesystem::path m_folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "kaleno-XXXXXX").string();
        return std::filesystem::path(mkdtemp(pattern.data()));
    }();
    ~KalenoCommandLine() override { std::filesystem::remove_all(m_folder); }
};

TEST_F(KalenoCommandLine, OpensWithTheGivensOfAGridOrOfAFilesFirstGrid)
{
    EXPECT_EQ(read({}).action, StartRequest::Action::Open);
    EXPECT_FALSE(read({}).givens);
    EXPECT_EQ(read({std::string(SamplePuzzle)}).givens, grid(SamplePuzzle));
    // A file by its name, in any format, even one that would read as a grid itself.
    const std::string rows = "# first\n\n1....7.9.\n.3..2...8\n..96..5..\n---------\n..53..9..\n"
                             ".1..8...2\n6....4...\n3......1.\n.4......7\n..7...3..\n"
        + std::string(EmptyGrid);
    EXPECT_EQ(read({file(std::string(EmptyGrid), rows)}).givens, grid(SamplePuzzle));
    EXPECT_EQ(read({"--", std::string(EmptyGrid)}).givens, grid(EmptyGrid));
    // Qt's own options, read before Qt takes them out; a file that starts with a byte-order mark.
    EXPECT_EQ(read({"-style", "Fusion", "--platform", "xcb", "-reverse", "-stylesheet=a.qss",
                       file("mark.txt", "\xEF\xBB\xBFPuzzle 12\n" + std::string(SamplePuzzle))})
                  .givens,
        grid(SamplePuzzle));
}

TEST_F(KalenoCommandLine, RefusesWhatHoldsNoGridWithAReason)
{
    const struct
    {
        std::vector<std::string> arguments;
        const char *why;
    } cases[] = {
        {{"123"}, "the argument is not a grid: 3 cells"},
        {{" "}, "no grid in the argument"},
        {{file("notes.txt", "# nothing\n\n")}, "no grid in "},
        {{file("broken.txt", "\n1....7.9.\n.3..2...8\n\n")},
            "broken.txt:2 is not a grid: the grid breaks off"},
        {{m_folder.string()}, "cannot read "},
        {{std::string(SamplePuzzle), std::string(EmptyGrid)}, "one grid or one file at most"},
        {{"--bogus"}, "unknown option --bogus"},
    };
    for (const auto &c : cases) {
        std::vector<std::string> all {"kaleno"};
        all.insert(all.end(), c.arguments.begin(), c.arguments.end());
        const StartRequest request = readCommandLine(all);
        EXPECT_EQ(request.action, StartRequest::Action::Fail) << c.why;
        EXPECT_NE(request.text.find(c.why), std::string::npos) << request.text;
    }
}

} // namespace
} // namespace kaleno
