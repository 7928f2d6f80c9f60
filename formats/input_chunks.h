#pragma once

#include "grid_reader.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kaleno {

/// A part of an input that can be read apart from the others, on another thread: whole lines,
/// with the state of the grid reader where they start.
struct Chunk
{
    std::string text; ///< whole lines, each ending in '\n' but perhaps the input's last
    GridReader reader; ///< where the grid formats stand at the chunk's first line
    LineNumber firstLine = 1; ///< the number of the chunk's first line in its input
    std::optional<std::string> overlong; ///< set when the chunk is one line too long to hold: why
    bool endsInput = false; ///< the input ends after these lines: an open block breaks off
};

/// Cuts an input into chunks of about ChunkBytes, a UTF-8 byte-order mark at its start skipped.
/// With the grid formats a chunk ends, where it can, after a line that ends every block (see
/// endsEveryBlock), so that it starts between grids; a file of blocks without such lines is read
/// ahead here to find where each chunk starts. JSON lines stand alone, and a chunk ends at any
/// line. A line longer than MaxLineBytes is never held whole: it becomes a chunk of its own,
/// `overlong`.
///
/// When the input pauses (nothing more can be read at once), the whole lines read so far are
/// handed out, in one chunk or a few, before the reader waits for more: every grid they complete
/// can be answered while the writer of the input waits for its answer. A descriptor that does
/// not wait (O_NONBLOCK) is waited on all the same.
class ChunkReader
{
public:
    static constexpr std::size_t ChunkBytes = std::size_t {256} << 10;
    static constexpr std::size_t MaxLineBytes = std::size_t {1} << 20;

    /// Called when the input pauses, before the reader waits for it: it may do other work
    /// meanwhile, and returns once that is done or once `descriptor` can be read.
    using PauseHandler = std::function<void(int descriptor)>;

    /// Reads from the open `descriptor`, which it does not close; its first line is numbered
    /// `firstLine`.
    ChunkReader(int descriptor, bool gridFormats, LineNumber firstLine = 1);

    void whenInputPauses(PauseHandler handler) { m_onPause = std::move(handler); }

    /// The next chunk; false at the end of the input, or when a read failed (see error()).
    bool next(Chunk &chunk);

    /// The errno of the read that failed, or 0.
    int error() const { return m_error; }

private:
    // Reads until `size` bytes are pending or the input ends; with `untilPause`, also until
    // the input pauses while whole lines are pending. False when fewer than `size` bytes are
    // pending.
    bool fillTo(std::size_t size, bool untilPause = false);
    bool skipOverlongLine(Chunk &chunk);
    std::size_t cutForGrids(std::size_t end, Chunk &chunk);

    int m_descriptor;
    bool m_gridFormats;
    std::string m_pending; // read and not yet handed out
    std::unique_ptr<char[]> m_buffer; // where each read lands
    bool m_ended = false; // the input has no more bytes
    int m_error = 0;
    bool m_started = false; // a chunk was handed out: a byte-order mark can no longer come
    GridReader m_reader; // the state where the next chunk starts
    PauseHandler m_onPause;
};

/// Calls `handler` with each line of `text` in turn, without its '\n'.
template<typename LineHandler>
void forEachLine(std::string_view text, LineHandler &&handler)
{
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        handler(text.substr(0, end));
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

/// Calls `handler` with each grid of a chunk, and each line or block that is none, in order.
template<typename GridHandler>
void readGrids(const Chunk &chunk, GridHandler &&handler)
{
    GridReader reader = chunk.reader;
    std::vector<ReadGrid> completed; // by one line: two at most
    auto handOn = [&] {
        for (const ReadGrid &grid : completed)
            handler(grid);
        completed.clear();
    };
    forEachLine(chunk.text, [&](std::string_view line) {
        reader.readLine(line, completed);
        handOn();
    });
    if (chunk.overlong)
        reader.readOverlongLine(*chunk.overlong, completed);
    if (chunk.endsInput)
        reader.finish(completed);
    handOn();
}

/// The most bytes of a text searched for its first grid.
constexpr std::size_t FirstGridBytes = std::size_t {4} << 20;

/// What the search for a text's first grid finds.
struct FirstGrid
{
    /// The first grid; without one, the first line or block that is no grid; else nothing.
    std::optional<ReadGrid> read;
    bool cutShort = false; ///< no grid in the first FirstGridBytes, and the text goes on
    int error = 0; ///< the errno of an open or a read that failed

    bool found() const { return read && read->ok(); }
};

/// The first grid of a text, as the window takes a puzzle from its command line, a paste or a
/// drop: the lines before it that are no grid (a title copied with it) are passed over. It is
/// read as kaleno-solve reads it: a byte-order mark at the start skipped, a line longer than
/// ChunkReader::MaxLineBytes no grid. No line that ends past FirstGridBytes is read.
FirstGrid firstGrid(std::string_view text);

/// The same, read from the open `descriptor`, which it does not close: no more than one read
/// (64 KB) past the grid's last line.
FirstGrid firstGridRead(int descriptor);

/// The same, read from the file at `path`.
FirstGrid firstGridOfFile(const std::string &path);

} // namespace kaleno
