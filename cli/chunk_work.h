#pragma once

#include "input_chunks.h"
#include "options.h"
#include "run_stats.h"

#include <string>

namespace kaleno {

/// The answers to one chunk, in order, and what they tally.
struct ChunkAnswers
{
    std::string out; ///< for standard output
    std::string errors; ///< for standard error: why lines were invalid
    RunStats stats;
};

/// Reads the grids of a chunk of the input named `inputName`, and solves, counts or repeats each
/// as the options say, appending to `answers`. Safe to run on several chunks at once.
void answerChunk(const Chunk &chunk, const RunOptions &options, const std::string &inputName,
    ChunkAnswers &answers);

/// The timed work of one grid again (its solve or count), as answerChunk does it.
void workAgain(const SolveInput &input, const RunOptions &options);

} // namespace kaleno
