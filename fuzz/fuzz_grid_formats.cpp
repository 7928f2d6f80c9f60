// The grid formats and the JSON lines of kaleno-solve, on any text.
//
// The input is the text, or the text, a NUL and control bytes (after the input's last NUL)
// that say how the text reaches the chunk reader:
//   - no control bytes: in one write;
//   - 0xFF, then a byte B and maybe bytes C and D: the text grows, and is read from a file. As
//     B % 3 says, it comes after a comment line that puts its start (C * 256 + D) % (its size
//     + 1) bytes before the end of a chunk (256 KB); or it comes twice, with its first line
//     repeated past the longest line held (1 MB, + C * 16 bytes) between, or a border about a
//     chunk long (+ (C - 128) * 16 bytes) between;
//   - anything else: in writes of 1 + each control byte in turn (64 writes at most, then the
//     rest), each of which the reader gets alone, as from a pipe whose writer is slower than it.
//
// What must hold:
//   - the reader gives its grids and no-grids in the order of their lines, each line within the
//     text, as the grammar of grid_reader.h gives them; a no-grid says why in one printable
//     line;
//   - after a line for which endsEveryBlock holds, a reader started afresh reads the rest as the
//     running reader does;
//   - the chunks are the text's lines (a byte-order mark at its start no part of them), each
//     once, in order and numbered as in the text, and their grids are those of the text read
//     whole; firstGrid and firstGridRead give its first grid, else its first no-grid;
//   - a grid read reads back the same when written in either layout; solveGivens on it answers
//     as solveCells on its texts, and the answers say so;
//   - a line accepted as JSON gives texts that read back the same once written as JSON, and
//     every JSON answer is one line that parses back as an object with its keys in order,
//     telling what the outcome holds.

#include "answers.h"
#include "fast_engine.h"
#include "fuzz_check.h"
#include "grid_reader.h"
#include "input_chunks.h"
#include "json_lines.h"
#include "solve_core.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>
#include <QString>
#include <QStringList>

#include <algorithm>
#include <bitset>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kaleno;
using kaleno::fuzz::fail;
using kaleno::fuzz::quoted;
using kaleno::fuzz::require;

namespace {

// The writes the control bytes size; the rest goes in writes of MessageBytes, which a socket of
// packets keeps whole, and which no read of the chunk reader (64 KB) cuts.
constexpr std::size_t MaxPieces = 64;
constexpr std::size_t MessageBytes = 4096;
constexpr std::size_t GrowthStep = 16; // bytes a control byte moves the size of a grown text
constexpr std::size_t AnsweredGrids = 8; // of the text as given, solved and answered
constexpr std::size_t JsonLines = 32; // of the text as given, read as JSON

// ---------------------------------------------------------------------------------------------
// The JSON answers

std::string quotedBytes(const QByteArray &bytes)
{
    return quoted(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

QJsonObject parsedObject(const std::string &answer)
{
    if (answer.find_first_of("\r\n") != std::string::npos)
        fail("a JSON answer spans several lines: " + quoted(answer));
    QJsonParseError error;
    const QJsonDocument document
        = QJsonDocument::fromJson(QByteArray::fromStdString(answer), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        fail("a JSON answer does not parse as an object: " + quoted(answer));
    return document.object();
}

// The keys of `object` are `keys`, and come in that order in the answer's text. QJsonObject
// forgets the order; a key's quotes cannot stand unescaped inside the strings of the values.
void requireKeys(const QJsonObject &object, const std::string &answer, QStringList keys)
{
    qsizetype previous = -1;
    for (const QString &key : keys) {
        const auto at = static_cast<qsizetype>(answer.find('"' + key.toStdString() + "\":"));
        if (at <= previous)
            fail("the JSON answer's keys are out of order: " + quoted(answer));
        previous = at;
    }
    QStringList found = object.keys();
    found.sort();
    keys.sort();
    if (found != keys)
        fail("the JSON answer's keys are not the ones expected: " + quoted(answer));
}

void checkJsonAnswer(const SolveOutcome &outcome)
{
    const std::string answer = jsonAnswer(outcome);
    const QJsonObject object = parsedObject(answer);
    requireKeys(object, answer,
        {QStringLiteral("outcome"), QStringLiteral("texts"), QStringLiteral("orange"),
            QStringLiteral("error_cell")});

    std::string word = outcomeWords(outcome.kind);
    std::replace(word.begin(), word.end(), ' ', '_');
    if (object.value(QStringLiteral("outcome")).toString().toStdString() != word)
        fail("the JSON answer's outcome is not " + quoted(word) + ": " + quoted(answer));

    const QJsonValue texts = object.value(QStringLiteral("texts"));
    require(texts.isArray() && texts.toArray().size() == CellCount,
        "the JSON answer's texts are not an array of 81");
    for (int cell = 0; cell < CellCount; ++cell) {
        const QJsonValue value = texts.toArray().at(cell);
        if (!value.isString()
            || value.toString()
                != QString::fromStdString(outcome.texts[static_cast<std::size_t>(cell)]))
            fail("the JSON answer's text of cell " + std::to_string(cell)
                + " is not the outcome's: " + quoted(answer));
    }

    const QJsonValue orange = object.value(QStringLiteral("orange"));
    require(orange.isArray(), "the JSON answer's orange is not an array");
    std::bitset<CellCount> cells;
    int last = -1;
    for (const QJsonValue &value : orange.toArray()) {
        const int cell = value.toInt(-1);
        if (!value.isDouble() || cell <= last || cell >= CellCount)
            fail("the JSON answer's orange is not a rising list of cells: " + quoted(answer));
        cells.set(static_cast<std::size_t>(cell));
        last = cell;
    }
    require(cells == outcome.orange, "the JSON answer's orange cells are not the outcome's");

    const QJsonValue errorCell = object.value(QStringLiteral("error_cell"));
    if (outcome.errorCell ? errorCell.toInt(-1) != *outcome.errorCell || !errorCell.isDouble()
                          : !errorCell.isNull())
        fail("the JSON answer's error_cell is not the outcome's: " + quoted(answer));
}

std::string countWords(int completions)
{
    return completions >= 2 ? "2+" : std::to_string(completions);
}

// The count of the texts, in both formats, against their solve.
void checkCountAnswers(const CellTexts &texts, const SolveOutcome &outcome)
{
    const GridReading reading = readCells(texts);
    const int completions = reading.ok() ? countCompletions(reading.givens, 2) : 0;
    const std::string answer = jsonCountAnswer(reading, completions);
    const QJsonObject json = parsedObject(answer);
    const QString jsonOutcome = json.value(QStringLiteral("outcome")).toString();
    if (!reading.ok()) {
        require(outcome.kind == OutcomeKind::InputError,
            "the count reads an input error, the solve not");
        requireKeys(json, answer, {QStringLiteral("outcome"), QStringLiteral("error_cell")});
        const QJsonValue errorCell = json.value(QStringLiteral("error_cell"));
        require(jsonOutcome == QLatin1String("input_error")
                && (reading.errorCell ? errorCell.toInt(-1) == *reading.errorCell
                                      : errorCell.isNull()),
            "the JSON count answer of an input error says otherwise: " + quoted(answer));
        return;
    }
    require(
        outcome.kind != OutcomeKind::InputError, "the solve reads an input error, the count not");
    require((completions == 0) == (outcome.kind == OutcomeKind::NoSolution),
        "the count and the solve disagree on whether a completion exists");
    std::string plain;
    appendCountAnswer(plain, completions);
    require(plain == countWords(completions) + '\n', "the plain count answer is not the count");
    requireKeys(json, answer, {QStringLiteral("outcome"), QStringLiteral("completions")});
    require(jsonOutcome == QLatin1String("counted")
            && json.value(QStringLiteral("completions")).toString().toStdString()
                == countWords(completions),
        "the JSON count answer is not the count: " + quoted(answer));
}

void checkJsonLine(std::string_view line)
{
    std::string error;
    const std::optional<CellTexts> texts = parseJsonLine(line, error);
    if (!texts) {
        require(!error.empty(), "parseJsonLine refused a line without saying why");
        return;
    }

    QJsonArray array;
    for (const std::string &cell : *texts)
        array.append(QString::fromStdString(cell));
    const QByteArray again = QJsonDocument(array).toJson(QJsonDocument::Compact);
    const std::optional<CellTexts> back = parseJsonLine(again.toStdString(), error);
    if (!back || *back != *texts)
        fail("the texts of " + quoted(line) + " do not read back the same from "
            + quotedBytes(again));

    const SolveOutcome outcome = solveCells(*texts);
    checkJsonAnswer(outcome);
    checkCountAnswers(*texts, outcome);
}

// ---------------------------------------------------------------------------------------------
// Reading the text

// The lines of a text, without their '\n', as the readers cut them: the text's last line need
// not end in '\n', and nothing after a final '\n' is a line.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

bool isOverlong(std::string_view line)
{
    return line.size() > ChunkReader::MaxLineBytes;
}

// The text read whole, with what the reader held after each line.
struct Reading
{
    std::vector<ReadGrid> grids;
    std::vector<std::size_t> gridsAfter; // grids.size() after each line
    std::vector<bool> openAfter; // inBlock() after each line
};

Reading readLines(const std::vector<std::string_view> &lines)
{
    Reading reading;
    GridReader reader;
    for (const std::string_view line : lines) {
        reader.readLine(line, reading.grids);
        reading.gridsAfter.push_back(reading.grids.size());
        reading.openAfter.push_back(reader.inBlock());
    }
    reader.finish(reading.grids);
    return reading;
}

std::string describe(const ReadGrid &grid)
{
    return "\n    line " + std::to_string(grid.line) + ": "
        + (grid.ok() ? gridText(grid.givens) : quoted(grid.error));
}

std::string describe(const std::vector<ReadGrid> &grids, std::size_t from = 0)
{
    std::string out;
    for (std::size_t i = from; i < grids.size() && i < from + 6; ++i)
        out += describe(grids[i]);
    if (grids.size() > from + 6)
        out += "\n    ... (" + std::to_string(grids.size()) + " in all)";
    return out;
}

bool same(const ReadGrid &a, const ReadGrid &b)
{
    return a.line == b.line && a.error == b.error && (!a.ok() || a.givens == b.givens);
}

// The grammar of the formats, written out again from their description: what each line is,
// then what the lines give, a grid with its cells or a no-grid (whatever its reason).
enum class Kind { Skipped, Border, WholeGrid, Row, Other };

// A cell's digit, 0 for an empty cell, or 0xFF for a byte that is no cell.
std::uint8_t cellValue(char c)
{
    if (c >= '1' && c <= '9')
        return static_cast<std::uint8_t>(c - '0');
    return std::strchr(".0*_xX", c) != nullptr && c != '\0' ? 0 : 0xFF;
}

struct ModelLine
{
    Kind kind = Kind::Other;
    Grid cells {}; // of a grid on one line, or the nine of a row
};

ModelLine modelLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    line.remove_prefix(std::min(line.find_first_not_of(" \t"), line.size()));
    ModelLine read;
    if (line.empty() || line.front() == '#') {
        read.kind = Kind::Skipped;
        return read;
    }
    std::size_t lead = 0;
    for (; lead < line.size() && lead < CellCount && cellValue(line[lead]) <= 9; ++lead)
        read.cells[lead] = cellValue(line[lead]);
    if (lead == CellCount) {
        const bool alone = line.size() == CellCount
            || std::string_view(" \t#;,|").find(line[CellCount]) != std::string_view::npos;
        read.kind = alone ? Kind::WholeGrid : Kind::Other;
        return read;
    }
    std::size_t cells = 0;
    bool rowMarks = true; // nothing but cells, blanks, '|' and '!'
    bool borderMarks = true; // nothing but '-', '+', '=', '|' and blanks
    bool draws = false;
    for (const char c : line) {
        if (cellValue(c) <= 9) {
            if (cells < GridSize)
                read.cells[cells] = cellValue(c);
            ++cells;
            borderMarks = false;
        } else if (c == '-' || c == '+' || c == '=') {
            draws = true;
            rowMarks = false;
        } else if (c == '!') {
            borderMarks = false;
        } else if (c != ' ' && c != '\t' && c != '|') {
            rowMarks = borderMarks = false;
        }
    }
    if (borderMarks && draws)
        read.kind = Kind::Border;
    else if (rowMarks && cells == GridSize)
        read.kind = Kind::Row;
    return read;
}

struct ModelResult
{
    int line = 0;
    std::optional<Grid> grid;
};

std::vector<ModelResult> modelReading(const std::vector<std::string_view> &lines)
{
    std::vector<ModelResult> out;
    int rows = 0;
    int blockLine = 0;
    Grid block {};
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const int number = static_cast<int>(index) + 1;
        const ModelLine read = modelLine(lines[index]);
        if (rows > 0 && read.kind == Kind::Border)
            continue;
        if (rows > 0 && read.kind == Kind::Row) {
            std::copy_n(read.cells.begin(), GridSize, block.begin() + rows * GridSize);
            if (++rows == GridSize) {
                out.push_back({blockLine, block});
                rows = 0;
            }
            continue;
        }
        if (rows > 0) {
            out.push_back({blockLine, std::nullopt});
            rows = 0;
        }
        switch (read.kind) {
        case Kind::Skipped:
        case Kind::Border:
            break;
        case Kind::WholeGrid:
            out.push_back({number, read.cells});
            break;
        case Kind::Row:
            std::copy_n(read.cells.begin(), GridSize, block.begin());
            rows = 1;
            blockLine = number;
            break;
        case Kind::Other:
            out.push_back({number, std::nullopt});
            break;
        }
    }
    if (rows > 0)
        out.push_back({blockLine, std::nullopt});
    return out;
}

std::string describe(const std::vector<ModelResult> &results)
{
    std::string out;
    for (std::size_t i = 0; i < results.size() && i < 6; ++i)
        out += "\n    line " + std::to_string(results[i].line) + ": "
            + (results[i].grid ? gridText(*results[i].grid) : std::string("no grid"));
    if (results.size() > 6)
        out += "\n    ... (" + std::to_string(results.size()) + " in all)";
    return out;
}

void checkGrids(const std::vector<std::string_view> &lines, const std::vector<ReadGrid> &grids)
{
    LineNumber previous = 0;
    for (const ReadGrid &grid : grids) {
        if (grid.line <= previous || grid.line > static_cast<int>(lines.size()))
            fail("the reader gave line " + std::to_string(grid.line) + " after line "
                + std::to_string(previous) + ", in a text of " + std::to_string(lines.size())
                + " lines:" + describe(grids));
        previous = grid.line;
        if (grid.ok()
            && std::any_of(grid.givens.begin(), grid.givens.end(), [](auto v) { return v > 9; }))
            fail("a grid read holds a cell above 9:" + describe(grid));
        if (!grid.ok() && !std::all_of(grid.error.begin(), grid.error.end(), [](char c) {
                return c >= 0x20 && c < 0x7F;
            }))
            fail("the reason of a no-grid is not a printable line: " + quoted(grid.error));
    }

    const std::vector<ModelResult> expected = modelReading(lines);
    const auto agrees = [](const ReadGrid &got, const ModelResult &want) {
        return got.line == want.line && got.ok() == want.grid.has_value()
            && (!got.ok() || got.givens == *want.grid);
    };
    if (!std::equal(grids.begin(), grids.end(), expected.begin(), expected.end(), agrees))
        fail("the reader gives" + describe(grids) + "\n  where the formats give"
            + describe(expected));
}

// After each line that ends every block, a fresh reader reads on as the running one. It is
// followed to the next such line, where both must be between grids: a reader between grids
// holds nothing but the number of its next line, so from there they go on alike.
void checkFreshStarts(const std::vector<std::string_view> &lines, const Reading &whole)
{
    std::optional<std::size_t> start;
    for (std::size_t index = 0; index <= lines.size(); ++index) {
        const bool ends = index < lines.size() && endsEveryBlock(lines[index]);
        if (!ends && index < lines.size())
            continue;
        if (ends && whole.openAfter[index])
            fail("endsEveryBlock holds for line " + std::to_string(index + 1) + ' '
                + quoted(lines[index]) + ", and a block is still open after it");
        if (start) {
            // The lines after *start, up to and with `index`, or to the end of the text.
            GridReader fresh(static_cast<int>(*start) + 2);
            std::vector<ReadGrid> grids;
            const std::size_t last = std::min(index, lines.size() - 1);
            for (std::size_t at = *start + 1; at <= last; ++at)
                fresh.readLine(lines[at], grids);
            if (index == lines.size())
                fresh.finish(grids);
            else if (fresh.inBlock())
                fail("a reader started after line " + std::to_string(*start + 1)
                    + " is in a block after line " + std::to_string(index + 1) + ' '
                    + quoted(lines[index]) + ", for which endsEveryBlock holds");
            const std::size_t from = whole.gridsAfter[*start];
            const std::size_t to
                = index == lines.size() ? whole.grids.size() : whole.gridsAfter[index];
            if (!std::equal(grids.begin(), grids.end(), whole.grids.begin() + from,
                    whole.grids.begin() + to, same))
                fail("a reader started after line " + std::to_string(*start + 1) + ' '
                    + quoted(lines[*start]) + " gives" + describe(grids)
                    + "\n  where the text read whole gives" + describe(whole.grids, from));
        }
        start = index;
    }
}

// The grids the chunks must give: those of the text read whole, but that a line too long to
// be held is no grid, whatever it holds.
std::vector<ReadGrid> expectedInChunks(
    const std::vector<std::string_view> &lines, const Reading &whole)
{
    if (std::none_of(lines.begin(), lines.end(), isOverlong))
        return whole.grids;
    GridReader reader;
    std::vector<ReadGrid> grids;
    for (const std::string_view line : lines) {
        if (isOverlong(line))
            reader.readOverlongLine("overlong", grids);
        else
            reader.readLine(line, grids);
    }
    reader.finish(grids);
    return grids;
}

bool sameInChunks(const ReadGrid &expected, const ReadGrid &got)
{
    // The reason of an overlong line is the chunk reader's to word.
    if (expected.error == "overlong")
        return got.line == expected.line && !got.ok();
    return same(expected, got);
}

// ---------------------------------------------------------------------------------------------
// Chunks

std::vector<Chunk> chunksFrom(int descriptor, bool gridFormats, const std::string &source)
{
    ChunkReader reader(descriptor, gridFormats);
    std::vector<Chunk> chunks;
    for (Chunk chunk; reader.next(chunk);)
        chunks.push_back(chunk);
    if (reader.error() != 0)
        fail("reading the text from " + source + " failed: " + std::strerror(reader.error()));
    return chunks;
}

int fileOf(std::string_view text)
{
    const int descriptor = memfd_create("kaleno-fuzz", MFD_CLOEXEC);
    require(descriptor >= 0, "no file in memory");
    for (std::string_view rest = text; !rest.empty();) {
        const ssize_t wrote = ::write(descriptor, rest.data(), rest.size());
        require(wrote > 0 || errno == EINTR, "writing a file in memory failed");
        rest.remove_prefix(static_cast<std::size_t>(std::max<ssize_t>(wrote, 0)));
    }
    require(::lseek(descriptor, 0, SEEK_SET) == 0, "rewinding a file in memory failed");
    return descriptor;
}

std::vector<Chunk> chunksOfFile(std::string_view text, bool gridFormats)
{
    const int descriptor = fileOf(text);
    std::vector<Chunk> chunks = chunksFrom(descriptor, gridFormats, "a file");
    ::close(descriptor);
    return chunks;
}

// The chunks of `text` written in pieces of the sizes `control` gives. A socket of packets
// hands each write to one read, as a pipe does when its writer is slower than its reader, but
// always alike.
std::vector<Chunk> chunksOfPieces(std::string_view text, std::string_view control, bool gridFormats)
{
    int ends[2];
    require(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, ends) == 0, "no socket pair");
    std::thread writer([text, control, socket = ends[1]] {
        std::string_view rest = text;
        for (std::size_t piece = 0; !rest.empty(); ++piece) {
            std::size_t size = MessageBytes;
            if (piece < MaxPieces && !control.empty())
                size = 1 + static_cast<unsigned char>(control[piece % control.size()]);
            size = std::min({size, MessageBytes, rest.size()});
            if (::send(socket, rest.data(), size, MSG_NOSIGNAL) != static_cast<ssize_t>(size))
                break; // the reader stopped early, which the checks report
            rest.remove_prefix(size);
        }
        ::shutdown(socket, SHUT_WR);
    });
    std::vector<Chunk> chunks = chunksFrom(ends[0], gridFormats, "a pipe");
    ::close(ends[0]); // a writer still sending then fails, and stops
    writer.join();
    ::close(ends[1]);
    return chunks;
}

// The chunks hold the lines of the text, each once, in order, numbered as in the text; a line
// too long to hold is a chunk of its own, without its text. With the grid formats, they read
// as the text read whole.
void checkChunks(const std::vector<Chunk> &chunks, const std::vector<std::string_view> &lines,
    std::string_view text, const std::vector<ReadGrid> *expected)
{
    std::string held;
    std::string joined;
    std::size_t lineCount = 0;
    std::vector<ReadGrid> grids;
    for (const Chunk &chunk : chunks) {
        if (chunk.firstLine != static_cast<int>(lineCount) + 1)
            fail("a chunk starts at line " + std::to_string(chunk.firstLine) + " after "
                + std::to_string(lineCount) + " lines");
        if (chunk.overlong) {
            if (!chunk.text.empty() || lineCount >= lines.size() || !isOverlong(lines[lineCount]))
                fail("a chunk says line " + std::to_string(lineCount + 1) + " is overlong");
            ++lineCount;
        } else {
            joined += chunk.text;
            lineCount
                += static_cast<std::size_t>(std::count(chunk.text.begin(), chunk.text.end(), '\n'));
            if (!chunk.text.empty() && chunk.text.back() != '\n')
                ++lineCount;
        }
        if (expected)
            readGrids(chunk, [&grids](const ReadGrid &grid) { grids.push_back(grid); });
    }
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (isOverlong(lines[index]))
            continue;
        held += lines[index];
        if (lines[index].data() + lines[index].size() != text.data() + text.size())
            held += '\n';
    }
    if (lineCount != lines.size() || joined != held)
        fail("the chunks hold " + std::to_string(lineCount) + " lines " + quoted(joined)
            + ", the text " + std::to_string(lines.size()) + " lines " + quoted(held));
    if (expected
        && !std::equal(
            expected->begin(), expected->end(), grids.begin(), grids.end(), sameInChunks))
        fail("the chunks (" + std::to_string(chunks.size()) + ") give" + describe(grids)
            + "\n  where the text read whole gives" + describe(*expected));
}

void checkFirstGrid(std::string_view text, const std::vector<ReadGrid> &inChunks)
{
    const auto grid = std::find_if(inChunks.begin(), inChunks.end(), std::mem_fn(&ReadGrid::ok));
    const ReadGrid *expected = grid != inChunks.end() ? &*grid
        : inChunks.empty()                            ? nullptr
                                                      : &inChunks.front();
    const int descriptor = fileOf(text);
    const FirstGrid found[] = {firstGrid(text), firstGridRead(descriptor)};
    ::close(descriptor);
    for (const FirstGrid &first : found) {
        if (first.read.has_value() != (expected != nullptr)
            || (first.read && !sameInChunks(*expected, *first.read)) || first.error != 0
            || first.cutShort)
            fail("the first grid is"
                + (first.read ? describe(*first.read) : std::string(" nothing"))
                + "\n  where the chunks give" + describe(inChunks));
    }
}

// ---------------------------------------------------------------------------------------------
// The answers to a grid read

std::vector<ReadGrid> readBack(const std::string &out)
{
    return readLines(linesOf(out)).grids;
}

void checkWrittenBack(const Grid &grid, const std::string &out, const std::string &what)
{
    const std::vector<ReadGrid> back = readBack(out);
    if (back.size() != 1 || !back[0].ok() || back[0].line != 1 || back[0].givens != grid)
        fail(
            what + ' ' + gridText(grid) + " as " + quoted(out) + " reads back as" + describe(back));
}

void checkAnswers(const Grid &givens)
{
    for (const Layout layout : {Layout::Line, Layout::Pretty}) {
        std::string out;
        appendGrid(out, givens, layout);
        checkWrittenBack(givens, out, "the grid");
    }

    CellTexts texts;
    for (std::size_t cell = 0; cell < CellCount; ++cell)
        texts[cell] = givens[cell] == 0 ? std::string() : std::to_string(givens[cell]);
    const GivensOutcome outcome = solveGivens(givens);
    const SolveOutcome cells = solveCells(texts);
    if (outcome.kind != cells.kind)
        fail("solveGivens and solveCells disagree on " + gridText(givens) + ": "
            + outcomeWords(outcome.kind) + ", " + outcomeWords(cells.kind));
    if (outcome.kind == OutcomeKind::Solved) {
        for (std::size_t cell = 0; cell < CellCount; ++cell) {
            if (cells.texts[cell] != std::to_string(outcome.completion[cell])
                || (givens[cell] != 0 && givens[cell] != outcome.completion[cell]))
                fail("solveGivens completes " + gridText(givens) + " as "
                    + gridText(outcome.completion) + ", solveCells gives "
                    + quoted(cells.texts[cell]) + " to cell " + std::to_string(cell));
        }
        require(isSolvedGrid(outcome.completion), "solveGivens's completion is no solved grid");
    }
    for (const Layout layout : {Layout::Line, Layout::Pretty}) {
        std::string out;
        appendSolveAnswer(out, outcome, layout);
        if (outcome.kind == OutcomeKind::Solved)
            checkWrittenBack(outcome.completion, out, "the completion");
        else if (out != std::string(outcomeWords(outcome.kind)) + '\n')
            fail("the answer to " + gridText(givens)
                + " is not the outcome in words: " + quoted(out));
    }
    checkJsonAnswer(cells);
    checkCountAnswers(texts, cells);
}

// ---------------------------------------------------------------------------------------------
// The input

struct Input
{
    std::string_view text;
    std::string_view control;
};

Input split(std::string_view data)
{
    const std::size_t nul = data.rfind('\0');
    if (nul == std::string_view::npos)
        return {data, {}};
    return {data.substr(0, nul), data.substr(nul + 1)};
}

bool grows(std::string_view control)
{
    return control.size() >= 2 && static_cast<unsigned char>(control[0]) == 0xFF;
}

// The text grown as the control bytes say.
std::string grown(std::string_view text, std::string_view control)
{
    const auto how = static_cast<unsigned char>(control[1]);
    const unsigned high = control.size() > 2 ? static_cast<unsigned char>(control[2]) : 0;
    const unsigned low = control.size() > 3 ? static_cast<unsigned char>(control[3]) : 0;
    std::string out;
    switch (how % 3) {
    case 0: {
        // A comment line so long that the text starts `before` bytes before the end of a chunk.
        const std::size_t before = (high << 8 | low) % (text.size() + 1);
        out.assign(ChunkReader::ChunkBytes - before - 1, '#');
        out += '\n';
        break;
    }
    case 1: {
        // The text, then its first line repeated past the longest line held, then the text.
        std::string_view unit = text.substr(0, text.find('\n'));
        if (unit.empty())
            unit = "#";
        const std::size_t size = ChunkReader::MaxLineBytes + high * GrowthStep;
        out.reserve(size + 2 * text.size() + unit.size() + 1);
        out = text;
        while (out.size() < size)
            out += unit;
        out += '\n';
        break;
    }
    default: {
        // The text, a border about a chunk long, then the text: a block open at the end of
        // the first stays open across the border, and the chunk reader must read ahead.
        const auto size = static_cast<std::size_t>(static_cast<long>(ChunkReader::ChunkBytes)
            + (static_cast<long>(high) - 128) * static_cast<long>(GrowthStep));
        out.reserve(2 * text.size() + size + 1);
        out = text;
        out.append(size, '-');
        out += '\n';
        break;
    }
    }
    out += text;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Input input = split(std::string_view(reinterpret_cast<const char *>(data), size));
    const bool growing = grows(input.control) && !input.text.empty();
    const std::string big = growing ? grown(input.text, input.control) : std::string();
    const std::string_view text = growing ? std::string_view(big) : input.text;

    // The readers are given the text; what they read is the text after a byte-order mark.
    std::string_view read = text;
    if (read.starts_with("\xEF\xBB\xBF"))
        read.remove_prefix(3);
    const std::vector<std::string_view> lines = linesOf(read);
    const Reading whole = readLines(lines);
    checkGrids(lines, whole.grids);
    checkFreshStarts(lines, whole);

    const std::vector<ReadGrid> inChunks = expectedInChunks(lines, whole);
    for (const bool gridFormats : {true, false}) {
        const std::vector<Chunk> chunks = growing
            ? chunksOfFile(text, gridFormats)
            : chunksOfPieces(text, input.control, gridFormats);
        checkChunks(chunks, lines, read, gridFormats ? &inChunks : nullptr);
    }
    checkFirstGrid(text, inChunks);

    // The answers, to the text as given only: a grown text repeats it.
    const std::vector<std::string_view> given = growing ? linesOf(input.text) : lines;
    const std::vector<ReadGrid> givenGrids = growing ? readLines(given).grids : whole.grids;
    std::size_t answered = 0;
    for (const ReadGrid &grid : givenGrids) {
        if (grid.ok() && answered++ < AnsweredGrids)
            checkAnswers(grid.givens);
    }
    for (std::size_t index = 0; index < given.size() && index < JsonLines; ++index)
        checkJsonLine(given[index]);
    return 0;
}
