#include "input_chunks.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace kaleno {

namespace {

constexpr std::size_t ReadBytes = std::size_t {64} << 10;

// Counted a block at a time in a byte, which the compiler widens to many bytes a step: counted
// straight into a LineNumber, each byte took a lane of eight.
LineNumber linesIn(std::string_view text)
{
    constexpr std::size_t Block = 255; // line ends a byte can count
    LineNumber lines = 0;
    for (std::size_t start = 0; start < text.size(); start += Block) {
        const std::string_view block = text.substr(start, Block);
        unsigned char inBlock = 0;
        for (const char c : block)
            inBlock = static_cast<unsigned char>(inBlock + (c == '\n'));
        lines += inBlock;
    }
    return lines;
}

// True when a read of `descriptor` would not wait.
bool readableNow(int descriptor)
{
    pollfd input {descriptor, POLLIN, 0};
    int ready = 0;
    while ((ready = ::poll(&input, 1, 0)) < 0 && errno == EINTR) { }
    return ready != 0; // a failed poll as well: the read will say what is wrong
}

void waitForInput(int descriptor)
{
    pollfd input {descriptor, POLLIN, 0};
    while (::poll(&input, 1, -1) < 0 && errno == EINTR) { }
}

// What editors on Windows write at the start of a UTF-8 file.
constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

} // namespace

ChunkReader::ChunkReader(int descriptor, bool gridFormats, LineNumber firstLine)
    : m_descriptor(descriptor), m_gridFormats(gridFormats), m_reader(firstLine)
{ }

bool ChunkReader::fillTo(std::size_t size, bool untilPause)
{
    while (m_pending.size() < size && !m_ended) {
        if (!readableNow(m_descriptor)) {
            if (untilPause && m_pending.find('\n') != std::string::npos)
                break; // whole lines to answer first
            if (m_onPause)
                m_onPause(m_descriptor);
            waitForInput(m_descriptor);
        }
        // Read apart and appended: a read of a few bytes costs a few bytes, not a buffer's room.
        if (!m_buffer)
            m_buffer = std::make_unique_for_overwrite<char[]>(ReadBytes);
        const ssize_t got = ::read(m_descriptor, m_buffer.get(), ReadBytes);
        m_pending.append(m_buffer.get(), static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
            continue; // nothing yet after all: waited for above
        if (got <= 0) {
            m_ended = true;
            m_error = got < 0 ? errno : 0;
        }
    }
    return m_pending.size() >= size;
}

bool ChunkReader::next(Chunk &chunk)
{
    fillTo(ChunkBytes, true);
    // What is pending ends in a line end, or fills a chunk, or is all there is: it holds the
    // mark whole if the input starts with one.
    if (!m_started && std::string_view(m_pending).starts_with(ByteOrderMark))
        m_pending.erase(0, ByteOrderMark.size());
    m_started = true;
    if (m_pending.empty()) {
        if (!m_reader.inBlock())
            return false;
        // The input ends in the middle of a block, which breaks off there.
        chunk = Chunk {{}, m_reader, m_reader.nextLine(), {}, true};
        m_reader = GridReader(m_reader.nextLine());
        return true;
    }

    // The first line must fit whole.
    std::size_t firstEnd = m_pending.find('\n');
    while (firstEnd == std::string::npos && m_pending.size() <= MaxLineBytes && !m_ended) {
        const std::size_t searched = m_pending.size();
        fillTo(searched + ReadBytes);
        firstEnd = m_pending.find('\n', searched);
    }
    if ((firstEnd == std::string::npos ? m_pending.size() : firstEnd) > MaxLineBytes)
        return skipOverlongLine(chunk);

    // Whole lines up to about ChunkBytes; the input's last line with or without its '\n'.
    std::size_t end = m_pending.size();
    if (firstEnd != std::string::npos && !(m_ended && m_pending.size() <= ChunkBytes))
        end = m_pending.rfind('\n', std::max(firstEnd, ChunkBytes - 1)) + 1;
    chunk.reader = m_reader;
    chunk.firstLine = m_reader.nextLine();
    chunk.overlong.reset();
    if (m_gridFormats)
        end = cutForGrids(end, chunk);
    else
        m_reader
            = GridReader(chunk.firstLine + linesIn(std::string_view(m_pending).substr(0, end)));
    chunk.text.assign(m_pending, 0, end);
    chunk.endsInput = false;
    m_pending.erase(0, end);
    return true;
}

// Where a chunk of the grid formats that may run up to `end` ends: after its last line that
// ends every block, else at `end` with the reader's state there worked out here.
std::size_t ChunkReader::cutForGrids(std::size_t end, Chunk &chunk)
{
    const std::string_view text(m_pending.data(), end);
    for (std::size_t lineEnd = end; lineEnd > 0;) {
        const std::size_t contentEnd = text[lineEnd - 1] == '\n' ? lineEnd - 1 : lineEnd;
        const std::size_t before
            = contentEnd == 0 ? std::string_view::npos : text.rfind('\n', contentEnd - 1);
        const std::size_t start = before == std::string_view::npos ? 0 : before + 1;
        if (endsEveryBlock(text.substr(start, contentEnd - start))) {
            const bool unfinishedLast = contentEnd == lineEnd; // the input's last, without '\n'
            m_reader = GridReader(
                chunk.firstLine + linesIn(text.substr(0, lineEnd)) + (unfinishedLast ? 1 : 0));
            return lineEnd;
        }
        lineEnd = start;
    }
    // No such line: every line of the chunk is a row or a border. Read it here to learn the
    // state at its end, and hand that on.
    std::vector<ReadGrid> ignored;
    GridReader reader = chunk.reader;
    forEachLine(text, [&](std::string_view line) { reader.readLine(line, ignored); });
    m_reader = reader;
    return end;
}

bool ChunkReader::skipOverlongLine(Chunk &chunk)
{
    chunk.reader = m_reader;
    chunk.firstLine = m_reader.nextLine();
    chunk.text.clear();
    chunk.overlong = "longer than " + std::to_string(MaxLineBytes) + " bytes";
    // Drop the line up to its end, a buffer at a time.
    std::size_t lineEnd;
    while ((lineEnd = m_pending.find('\n')) == std::string::npos) {
        m_pending.clear();
        if (!fillTo(1))
            break;
    }
    m_pending.erase(0, lineEnd == std::string::npos ? m_pending.size() : lineEnd + 1);
    // Whatever came before, the line left no block open.
    m_reader = GridReader(chunk.firstLine + 1);
    chunk.endsInput = false;
    return true;
}

namespace {

// Reads a text line by line until its first grid.
class FirstGridSearch
{
public:
    // Reads the whole lines of `text` after those already read; true once the grid is found.
    bool readLines(std::string_view text)
    {
        for (std::size_t end; !m_found.found() && (end = text.find('\n', m_next)) != text.npos;
             m_next = end + 1)
            readLine(text.substr(m_next, end - m_next));
        return m_found.found();
    }

    // What was found in `text`, which is the whole text or, `cutShort`, its first part.
    FirstGrid end(std::string_view text, bool cutShort)
    {
        if (m_found.found())
            return m_found;
        if (cutShort) {
            m_found.cutShort = true;
            return m_found;
        }
        if (m_next < text.size())
            readLine(text.substr(m_next)); // the last line, without a line end
        m_reader.finish(m_completed);
        takeCompleted();
        return m_found;
    }

private:
    void readLine(std::string_view line)
    {
        if (m_next == 0 && line.starts_with(ByteOrderMark))
            line.remove_prefix(ByteOrderMark.size());
        if (line.size() > ChunkReader::MaxLineBytes)
            m_reader.readOverlongLine(
                "longer than " + std::to_string(ChunkReader::MaxLineBytes) + " bytes", m_completed);
        else
            m_reader.readLine(line, m_completed);
        takeCompleted();
    }

    void takeCompleted()
    {
        for (const ReadGrid &read : m_completed) {
            if (!m_found.read || (read.ok() && !m_found.found()))
                m_found.read = read;
        }
        m_completed.clear();
    }

    GridReader m_reader;
    std::vector<ReadGrid> m_completed; // by the last line
    std::size_t m_next = 0; // where the next line starts
    FirstGrid m_found;
};

} // namespace

FirstGrid firstGrid(std::string_view text)
{
    FirstGridSearch search;
    const std::string_view read = text.substr(0, FirstGridBytes);
    search.readLines(read);
    return search.end(read, text.size() > FirstGridBytes);
}

FirstGrid firstGridRead(int descriptor)
{
    FirstGridSearch search;
    std::string text;
    // One byte past the limit tells a text that goes on from one that ends there.
    while (text.size() <= FirstGridBytes) {
        const std::size_t start = text.size();
        text.resize(std::min(start + ReadBytes, FirstGridBytes + 1));
        const ssize_t got = ::read(descriptor, text.data() + start, text.size() - start);
        text.resize(start + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            FirstGrid failed;
            failed.error = errno;
            return failed;
        }
        if (got == 0)
            return search.end(text, false);
        if (search.readLines(std::string_view(text).substr(0, FirstGridBytes)))
            return search.end(text, false);
    }
    return search.end(std::string_view(text).substr(0, FirstGridBytes), true);
}

FirstGrid firstGridOfFile(const std::string &path)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        FirstGrid failed;
        failed.error = errno;
        return failed;
    }
    FirstGrid found = firstGridRead(descriptor);
    ::close(descriptor);
    return found;
}

} // namespace kaleno
