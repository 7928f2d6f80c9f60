// The grid formats on any text, as the chunk reader reads it however it arrives. The input is
// the text, or the text, a NUL and control bytes (no NUL among them; without them, the bytes of
// a hash of the input): 0 to 3 pick the block read to spoil, its row, the row's cell (bit 7: all
// its cells; bit 6: its '|' made '!' as well) and the byte put in its place (of Fills). Byte 5
// names a place in the text (8 * byte 5, modulo its size + 1), and byte 4 says how it arrives:
// 1, from a file, the line there grown past the longest held; 2, from a file, after a comment
// that ends that many bytes before a chunk's end; else through a pipe in pieces as long as each
// byte from 6 on in turn (64 without), each written once the reader has taken all. It must hold:
//   - cut into chunks anyhow, the text reads as read line by line (a byte-order mark at its
//     start skipped, a line too long to hold no grid); firstGrid gives its first grid, else its
//     first line or block that is none;
//   - the grids read, written back as --givens writes them (one a line, or pretty), with
//     "invalid line" for each that is none, read back the same in order;
//   - a block with a row spoiled (cells put out, the line left no border) is one no-grid at its
//     first line, the spoiled line another if not the first, and what follows reads afresh.

#include "answers.h"
#include "fuzz_check.h"
#include "grid_reader.h"
#include "input_chunks.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

using namespace kaleno;
using namespace kaleno::fuzz;

namespace {

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view Cells = "123456789.0*_xX";
constexpr std::string_view Fills = "-+=|! \t;,\r?a\xff"; // no cell, no line end, no comment
constexpr std::string_view AnyError = "*"; // expected: some reason, whichever
const std::string Overlong = "longer than " + std::to_string(ChunkReader::MaxLineBytes) + " bytes";

// What the control bytes say.
struct Control
{
    unsigned block, row, cell, arrival, where;
    char fill;
    std::string_view pieces;
};

Control controlOf(std::string_view bytes)
{
    unsigned b[6] = {0, 1, 4, 0, 0, 0};
    for (std::size_t i = 0; i < 6 && i < bytes.size(); ++i)
        b[i] = static_cast<unsigned char>(bytes[i]);
    return {b[0], b[1] % GridSize, b[2], b[4] < 3 ? b[4] : 0, b[5], Fills[b[3] % Fills.size()],
        bytes.size() > 6 ? bytes.substr(6) : std::string_view("\x40")};
}

// The text read line by line by one reader, its first line numbered `first`.
std::vector<ReadGrid> readByLines(std::string_view text, LineNumber first = 1)
{
    GridReader reader(first);
    std::vector<ReadGrid> grids;
    forEachLine(text, [&](std::string_view line) {
        if (line.size() > ChunkReader::MaxLineBytes)
            reader.readOverlongLine(Overlong, grids);
        else
            reader.readLine(line, grids);
    });
    reader.finish(grids);
    return grids;
}

bool same(const ReadGrid &got, const ReadGrid &expected)
{
    return got.line == expected.line && got.ok() == expected.ok()
        && (got.ok() ? got.givens == expected.givens
                     : expected.error == AnyError || got.error == expected.error);
}

std::string describe(const std::vector<ReadGrid> &grids)
{
    std::string out;
    for (std::size_t i = 0; i < grids.size() && i < 8; ++i)
        out += "\n    line " + std::to_string(grids[i].line) + ": "
            + (grids[i].ok() ? gridText(grids[i].givens) : quoted(grids[i].error));
    return out + (grids.size() > 8 ? "\n    ... " + std::to_string(grids.size()) + " in all" : "");
}

void requireSame(const std::vector<ReadGrid> &got, const std::vector<ReadGrid> &expected,
    const std::string &what)
{
    if (!std::equal(got.begin(), got.end(), expected.begin(), expected.end(), same))
        fail(what + " gives" + describe(got) + "\n  where it should give" + describe(expected));
}

// The text read in chunks, from a file, or through a pipe a piece at a time. Each piece is
// written only when the reader has taken all before it and would wait: it hands out the whole
// lines it holds then, so that a chunk may end after any piece.
std::vector<ReadGrid> readInChunks(std::string_view text, const Control &control)
{
    int ends[2] = {-1, -1};
    if (control.arrival == 0)
        require(::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0, "no pipe");
    else
        require((ends[0] = ::memfd_create("kaleno-fuzz", MFD_CLOEXEC)) >= 0
                && ::write(ends[0], text.data(), text.size()) == static_cast<ssize_t>(text.size())
                && ::lseek(ends[0], 0, SEEK_SET) == 0,
            "no file in memory");
    ChunkReader reader(ends[0], true);
    std::size_t piece = 0;
    reader.whenInputPauses([&](int) { // a file never pauses
        if (text.empty())
            return (void)::close(std::exchange(ends[1], -1));
        const std::size_t size = std::max<std::size_t>(
            1, static_cast<unsigned char>(control.pieces[piece++ % control.pieces.size()]));
        const ssize_t wrote
            = ::write(ends[1], text.data(), std::min<std::size_t>(size, text.size()));
        require(wrote > 0, "writing to the pipe failed");
        text.remove_prefix(static_cast<std::size_t>(wrote));
    });
    std::vector<ReadGrid> grids;
    for (Chunk chunk; reader.next(chunk);)
        readGrids(chunk, [&grids](const ReadGrid &grid) { grids.push_back(grid); });
    require(reader.error() == 0, "reading the text failed");
    for (const int end : ends)
        ::close(end); // EBADF for one already closed
    return grids;
}

// The text as it comes from the file: after a comment, or with a line grown past the longest held.
std::string grown(std::string_view text, const Control &control)
{
    const std::size_t at = control.where * std::size_t {8} % (text.size() + 1);
    if (control.arrival == 2)
        return std::string(ChunkReader::ChunkBytes - at - 1, '#') + '\n' + std::string(text);
    const std::size_t start = at == 0 ? 0 : text.rfind('\n', at - 1) + 1;
    const std::size_t end = std::min(text.find('\n', start), text.size());
    std::string line = start == end ? "#" : std::string(text.substr(start, end - start));
    while (line.size() <= ChunkReader::MaxLineBytes)
        line += line;
    return std::string(text).replace(start, end - start, line);
}

void checkFirstGrid(std::string_view text, const std::vector<ReadGrid> &grids)
{
    const FirstGrid first = firstGrid(text);
    require(!first.cutShort && first.error == 0, "firstGrid stopped short");
    const auto grid = std::find_if(grids.begin(), grids.end(), std::mem_fn(&ReadGrid::ok));
    const auto expected = grid != grids.end() ? grid : grids.begin();
    requireSame(first.read ? std::vector {*first.read} : std::vector<ReadGrid> {},
        std::vector(expected, expected + (grids.empty() ? 0 : 1)), "firstGrid");
}

void checkWrittenBack(const std::vector<ReadGrid> &grids)
{
    for (const Layout layout : {Layout::Line, Layout::Pretty}) {
        std::string written;
        std::vector<ReadGrid> expected;
        for (const ReadGrid &grid : grids) {
            const auto line
                = static_cast<LineNumber>(std::count(written.begin(), written.end(), '\n')) + 1;
            expected.push_back({line, grid.givens, grid.ok() ? "" : std::string(AnyError)});
            grid.ok() ? appendGrid(written, grid.givens, layout)
                      : void(written += "invalid line\n");
        }
        requireSame(readByLines(written), expected,
            "the grids read, written back as " + quoted(written) + ",");
    }
}

// A reader that takes `line` alone holds it as the first row of a block.
bool isRow(std::string_view line)
{
    GridReader reader;
    std::vector<ReadGrid> none;
    reader.readLine(line, none);
    return reader.inBlock();
}

void checkSpoiledRow(std::string_view text, const std::vector<ReadGrid> &grids, const Control &c)
{
    std::vector<std::string_view> lines;
    forEachLine(text, [&lines](std::string_view line) { lines.push_back(line); });
    std::vector<LineNumber> blocks; // the first lines of the blocks read whole
    for (const ReadGrid &grid : grids)
        if (grid.ok() && isRow(lines[static_cast<std::size_t>(grid.line - 1)]))
            blocks.push_back(grid.line);
    if (blocks.empty())
        return;
    const LineNumber first = blocks[c.block % blocks.size()];
    auto at = static_cast<std::size_t>(first - 1);
    for (unsigned rows = 0; !(isRow(lines[at]) && rows++ == c.row); ++at)
        require(at + 1 < lines.size(), "a block read whole has fewer than nine rows");
    std::string spoiled(lines[at]);
    unsigned cell = 0;
    for (char &byte : spoiled) {
        if (Cells.find(byte) != Cells.npos && (c.cell >= 0x80 || cell++ == c.cell % GridSize))
            byte = c.fill;
        else if (byte == '|' && (c.cell & 0x40) != 0)
            byte = '!'; // as ignored between a row's cells
    }
    if (spoiled.find_first_not_of("-+=| \t\r") == std::string::npos)
        return; // a border, or blank
    const auto start = static_cast<std::size_t>(lines[at].data() - text.data());
    const std::size_t after = start + lines[at].size() + 1; // the next line's start
    const std::string changed = std::string(text).replace(start, spoiled.size(), spoiled);

    const auto spoiledLine = static_cast<LineNumber>(at) + 1;
    std::vector<ReadGrid> expected;
    std::copy_if(grids.begin(), grids.end(), std::back_inserter(expected),
        [first](const ReadGrid &grid) { return grid.line < first; });
    expected.push_back({first, {}, std::string(AnyError)});
    if (spoiledLine != first)
        expected.push_back({spoiledLine, {}, std::string(AnyError)});
    const auto rest = readByLines(text.substr(std::min(after, text.size())), spoiledLine + 1);
    expected.insert(expected.end(), rest.begin(), rest.end());
    requireSame(readByLines(changed), expected,
        "the text with line " + std::to_string(spoiledLine) + " spoiled as " + quoted(spoiled));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::size_t nul = input.rfind('\0');
    const std::size_t hash = std::hash<std::string_view> {}(input);
    Control control = controlOf(nul != std::string_view::npos
            ? input.substr(nul + 1)
            : std::string_view(reinterpret_cast<const char *>(&hash), sizeof hash));
    if (hash % 8 != 0)
        control.arrival = 0; // a grown text costs a hundred plain ones: one input in eight grows
    const std::string_view given = input.substr(0, nul);
    const std::string arrived = control.arrival == 0 ? std::string() : grown(given, control);
    const std::string_view text = control.arrival == 0 ? given : std::string_view(arrived);
    const std::string_view read
        = text.substr(text.starts_with(ByteOrderMark) ? ByteOrderMark.size() : 0);
    const std::vector<ReadGrid> grids = readByLines(read);
    requireSame(readInChunks(text, control), grids, "the chunk reader");
    checkFirstGrid(text, grids);
    checkWrittenBack(grids);
    if (control.arrival == 0) // a grown text is a long one, and its grids are the text's
        checkSpoiledRow(read, grids, control);
    return 0;
}
