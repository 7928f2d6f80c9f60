#include "grid_reader.h"
#include "grids.h"
#include "input_chunks.h"

#include <gtest/gtest.h>

#include <ostream>
#include <sstream>

#include <sys/mman.h>
#include <unistd.h>

namespace kaleno {
namespace {

using namespace kaleno::testing;

// What the reader makes of a text: "line:grid" for a grid ('.' empty), "line:!" for no grid.
std::string readAll(std::string_view text)
{
    GridReader reader;
    std::vector<ReadGrid> grids;
    std::istringstream lines {std::string(text)};
    for (std::string line; std::getline(lines, line);)
        reader.readLine(line, grids);
    reader.finish(grids);
    std::string summary;
    for (const ReadGrid &grid : grids)
        summary
            += std::to_string(grid.line) + ':' + (grid.ok() ? gridText(grid.givens) : "!") + ' ';
    return summary;
}

// The sample puzzle's rows, as the formats draw them.
const std::string Plain = "1....7.9.\n.3..2...8\n..96..5..\n..53..9..\n.1..8...2\n6....4...\n"
                          "3......1.\n.4......7\n..7...3..\n";
const std::string Boxed = "1..|..7|.9.\n.3.|.2.|..8\n..9|6..|5..\n---+---+---\n..5|3..|9..\n"
                          ".1.|.8.|..2\n6..|..4|...\n---+---+---\n3..|...|.1.\n.4.|...|..7\n"
                          "..7|...|3..\n";
const std::string Spaced = "1 . . | . . 7 | . 9 .\n. 3 . | . 2 . | . . 8\n. . 9 | 6 . . | 5 . .\n"
                           "------+-------+------\n. . 5 | 3 . . | 9 . .\n. 1 . | . 8 . | . . 2\n"
                           "6 . . | . . 4 | . . .\n======+=======+======\n3 . . | . . . | . 1 .\n"
                           ". 4 . | . . . | . . 7\n. . 7 | . . . | 3 . .\n";

struct FormatCase
{
    const char *name;
    std::string text;
    std::string expected;
};

void PrintTo(const FormatCase &c, std::ostream *out)
{
    *out << c.name;
}

class GridFormats : public ::testing::TestWithParam<FormatCase>
{
};

TEST_P(GridFormats, ReadsEachGridOnceAndNamesWhatIsNone)
{
    EXPECT_EQ(readAll(GetParam().text), GetParam().expected);
}

const std::string Sample(SamplePuzzle);
const std::string Other = "9" + std::string(80, '.');
const std::string OtherRows = "9........\n.........\n.........\n.........\n.........\n.........\n"
                              ".........\n.........\n.........\n";

INSTANTIATE_TEST_SUITE_P(Formats, GridFormats,
    ::testing::Values(
        FormatCase {"OneLineEveryEmptyMark",
            "1*_xX709_x3.02_xX80*96X.5*_xX53*_9X.01_x8.0*26X.0*4xX.3*_xX.01_x4.0*_xX70*7xX.3*_\n",
            "1:" + Sample + ' '},
        FormatCase {"OneLineWithCommentsAndCrLf",
            "# a list\n\n   \t\n" + Sample + "  #12 rated 9.1\r\n" + Other + ";x\n" + Other + ",\n"
                + Other + "|\n" + Other + "\t1\n",
            "4:" + Sample + " 5:" + Other + " 6:" + Other + " 7:" + Other + " 8:" + Other + ' '},
        FormatCase {"NineLines", Plain, "1:" + Sample + ' '},
        FormatCase {
            "BoxesDrawn", "+---+---+---+\n" + Boxed + "+---+---+---+\n", "2:" + Sample + ' '},
        FormatCase {"BlankBetweenCells", "\n" + Spaced + "\n" + Plain,
            "2:" + Sample + " 14:" + Sample + ' '},
        FormatCase {"BlocksBackToBack", Plain + OtherRows + Plain,
            "1:" + Sample + " 10:" + Other + " 19:" + Sample + ' '},
        FormatCase {"CellAfterTheLastIsNoComment", Sample + "1\n" + Sample + "a\n", "1:! 2:! "},
        FormatCase {"NeitherOneLineNorARow", std::string(80, '.') + "\n12345\n", "1:! 2:! "},
        FormatCase {"BorderWithCells", "---1---\n" + Sample + "\n", "1:! 2:" + Sample + ' '},
        FormatCase {"BorderWithRowMark", "---!---\n" + Sample + "\n", "1:! 2:" + Sample + ' '},
        // A block that breaks off is one answer; the line that broke it is read afresh.
        FormatCase {
            "BlockBrokenByEmptyLine", Plain.substr(0, 40) + "\n" + Plain, "1:! 6:" + Sample + ' '},
        FormatCase {"BlockBrokenByComment", Plain.substr(0, 20) + "# c\n" + Sample + "\n",
            "1:! 4:" + Sample + ' '},
        FormatCase {"BlockBrokenByOneLineGrid", Plain.substr(0, 20) + Sample + "\n",
            "1:! 3:" + Sample + ' '},
        FormatCase {"BlockBrokenByShortRow", Plain.substr(0, 20) + "1.3\n" + Plain,
            "1:! 3:! 4:" + Sample + ' '},
        FormatCase {"BlockBrokenByTheEnd", Boxed.substr(0, 60), "1:! "}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(GridReader, SaysWhyALineOrBlockIsNoGrid)
{
    GridReader reader(7);
    std::vector<ReadGrid> grids;
    const std::string almostOneLine = Sample.substr(0, 80) + "#";
    for (std::string_view line : {"1........", "........9", "", "5 3 ! x", almostOneLine.c_str()})
        reader.readLine(line, grids);
    reader.readOverlongLine("longer than 1048576 bytes", grids);
    ASSERT_EQ(grids.size(), 4u);
    EXPECT_EQ(grids[0].line, 7);
    EXPECT_EQ(grids[0].error, "the grid breaks off after 2 rows: line 9 is empty or a comment");
    EXPECT_EQ(grids[1].error, "3 cells: a grid is 81 cells on one line, or 9 rows of 9");
    EXPECT_EQ(grids[2].error, "'#' at column 81");
    EXPECT_EQ(grids[3].line, 12);
    EXPECT_EQ(grids[3].error, "longer than 1048576 bytes");
}

TEST(GridReader, KnowsTheLinesAfterWhichEveryBlockHasEnded)
{
    for (std::string_view line :
        {"", "  ", "# comment", Sample.c_str(), "1.3", "abc", "---!---", "...|...|..."})
        EXPECT_EQ(endsEveryBlock(line), line != "...|...|...") << line;
    EXPECT_FALSE(endsEveryBlock("---+---+---"));
    EXPECT_FALSE(endsEveryBlock("1 . . | . . 7 | . 9 .\r"));
}

// What the search for a first grid finds: "line:grid", "line:!" for the first no-grid, "cut"
// when it stopped at the limit, "" for nothing.
std::string summary(const FirstGrid &first)
{
    if (first.cutShort || !first.read)
        return first.cutShort ? "cut" : "";
    return std::to_string(first.read->line) + ':'
        + (first.found() ? gridText(first.read->givens) : "!");
}

TEST(FirstGrid, PassesOverWhatIsNoGridNoFurtherThanTheLimit)
{
    const std::string longComment(ChunkReader::MaxLineBytes, '#');
    const struct
    {
        std::string text;
        std::string expected;
    } cases[] = {
        {"Puzzle 12\n" + Sample, "2:" + Sample},
        {"\xEF\xBB\xBF" + Plain + Other, "1:" + Sample},
        {"notes\n" + Plain.substr(0, 20), "1:!"},
        {"\n# c\n", ""},
        {Sample + ' ' + longComment + '\n' + Other, "2:" + Other}, // too long to hold
        {std::string(FirstGridBytes - 83, '#') + '\n' + Sample + '\n', "2:" + Sample},
        {std::string(FirstGridBytes - 82, '#') + '\n' + Sample + '\n', "cut"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(summary(firstGrid(c.text)), c.expected) << c.text.substr(0, 20);
        const int file = memfd_create("first-grid", MFD_CLOEXEC);
        ASSERT_EQ(write(file, c.text.data(), c.text.size()), static_cast<ssize_t>(c.text.size()));
        ASSERT_EQ(lseek(file, 0, SEEK_SET), 0);
        EXPECT_EQ(summary(firstGridRead(file)), c.expected) << c.text.substr(0, 20);
        close(file);
    }
}

} // namespace
} // namespace kaleno
