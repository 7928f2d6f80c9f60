#pragma once

#include "options.h"
#include "run_stats.h"

namespace kaleno {

/// Prints the statistics of a run on standard error, in the form `options.stats` asks for: the
/// tallies of the task's answers and their total; the solve's time alone, once the slowest grids
/// were timed again; the wall time, the rate and the threads; the peak memory.
void printStats(const RunStats &stats, const RunOptions &options, int threads, double wallSeconds);

} // namespace kaleno
