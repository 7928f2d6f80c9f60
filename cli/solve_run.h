#pragma once

#include "options.h"
#include "workers.h"

namespace kaleno {

/// The exit statuses of kaleno-solve.
enum ExitStatus {
    AllRead = 0, ///< every grid was read
    SomeLineInvalid = 1, ///< some line or block was no grid
    UsageOrFileError = 2, ///< a usage error, an input that could not be read, or output lost
};

/// Reads the inputs of `options` in chunks, answers the chunks on `options.jobs` threads, and
/// writes the answers in the order of the input, holding a bounded number of chunks at a time.
/// When the input pauses, the answers to every grid read are written before it is waited for.
/// When fewer threads can be started, it warns and answers on those, or on the calling thread
/// alone. Prints the statistics when asked to. Gives the exit status.
ExitStatus runSolve(const RunOptions &options, const ThreadStarter &threadStarter = startThread);

} // namespace kaleno
