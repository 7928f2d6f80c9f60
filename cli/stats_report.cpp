#include "stats_report.h"

#include "chunk_work.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <ratio>
#include <utility>
#include <vector>

#include <sys/resource.h>

namespace kaleno {

namespace {

// The slowest grids are timed this many times again, each keeping its fastest time, so that a
// busy moment of the machine does not make a grid look slow.
constexpr int Retimings = 5;

// The figures of a run, in both forms.
struct Figures
{
    std::int64_t grids = 0;
    std::vector<std::pair<Tally, std::int64_t>> tallies; // those of the task, in order
    std::optional<RunStats::Times> times; // when some grid was timed
    std::size_t retimed = 0;
    double wallSeconds = 0;
    double rate = 0; // grids a second
    int threads = 1;
    std::optional<double> peakMegabytes;
};

std::vector<Tally> shownTallies(Task task)
{
    switch (task) {
    case Task::Count:
        return {Tally::NoCompletion, Tally::OneCompletion, Tally::SeveralCompletions,
            Tally::InputError, Tally::InvalidLine};
    case Task::Givens:
        return {Tally::Read, Tally::InvalidLine};
    case Task::Solve:
        break;
    }
    return {
        Tally::Solved, Tally::NoSolution, Tally::InputError, Tally::StepLimit, Tally::InvalidLine};
}

// The solve times once the slowest grids were timed again, each keeping its fastest time.
RunStats::Times timedAgain(const RunStats &stats, const RunOptions &options)
{
    std::vector<double> again;
    for (const RunStats::TimedGrid &slow : stats.slowest()) {
        double best = slow.micros;
        for (int run = 0; run < Retimings; ++run) {
            const auto start = std::chrono::steady_clock::now();
            workAgain(slow.input, options);
            const std::chrono::duration<double, std::micro> elapsed
                = std::chrono::steady_clock::now() - start;
            best = std::min(best, elapsed.count());
        }
        again.push_back(best);
    }
    return stats.timedAgain(again);
}

void printText(const Figures &figures)
{
    std::fprintf(stderr, "grids %lld:", static_cast<long long>(figures.grids));
    const char *separator = " ";
    for (const auto &[tally, count] : figures.tallies) {
        std::fprintf(stderr, "%s%s %lld", separator, answerWords(tally).label,
            static_cast<long long>(count));
        separator = ", ";
    }
    std::fputc('\n', stderr);
    if (figures.times)
        std::fprintf(stderr,
            "solve alone: total %.6f s, mean %.2f us a grid, max %.2f us (the %zu slowest timed "
            "%d more times, each keeping its best)\n",
            figures.times->totalMicros / 1e6, figures.times->meanMicros, figures.times->maxMicros,
            figures.retimed, Retimings);
    std::fprintf(stderr, "wall time %.3f s, %.0f grids a second, on %d thread%s\n",
        figures.wallSeconds, figures.rate, figures.threads, figures.threads == 1 ? "" : "s");
    if (figures.peakMegabytes)
        std::fprintf(stderr, "peak resident memory: %.1f MB\n", *figures.peakMegabytes);
}

// The same figures, to the same precision, as one object on one line.
void printJson(const Figures &figures)
{
    std::fprintf(stderr, "{\"grids\":%lld,\"answers\":{", static_cast<long long>(figures.grids));
    const char *separator = "";
    for (const auto &[tally, count] : figures.tallies) {
        std::fprintf(stderr, "%s\"%s\":%lld", separator, answerWords(tally).key,
            static_cast<long long>(count));
        separator = ",";
    }
    std::fputs("},\"solve_alone\":", stderr);
    if (figures.times)
        std::fprintf(stderr,
            "{\"total_s\":%.6f,\"mean_us\":%.2f,\"max_us\":%.2f,\"retimed\":%zu,\"retimings\":%d}",
            figures.times->totalMicros / 1e6, figures.times->meanMicros, figures.times->maxMicros,
            figures.retimed, Retimings);
    else
        std::fputs("null", stderr);
    std::fprintf(stderr, ",\"wall_s\":%.3f,\"grids_per_second\":%.0f,\"threads\":%d,",
        figures.wallSeconds, figures.rate, figures.threads);
    if (figures.peakMegabytes)
        std::fprintf(stderr, "\"peak_memory_mb\":%.1f}\n", *figures.peakMegabytes);
    else
        std::fputs("\"peak_memory_mb\":null}\n", stderr);
}

} // namespace

void printStats(const RunStats &stats, const RunOptions &options, int threads, double wallSeconds)
{
    Figures figures;
    figures.grids = stats.answers();
    for (const Tally tally : shownTallies(options.task))
        figures.tallies.emplace_back(tally, stats.tally(tally));
    if (stats.timedGrids() > 0) {
        figures.times = timedAgain(stats, options);
        figures.retimed = stats.slowest().size();
    }
    figures.wallSeconds = wallSeconds;
    figures.rate = wallSeconds > 0 ? static_cast<double>(figures.grids) / wallSeconds : 0.0;
    figures.threads = threads;
    rusage usage {};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        figures.peakMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    if (options.stats == StatsForm::Json)
        printJson(figures);
    else
        printText(figures);
}

} // namespace kaleno
