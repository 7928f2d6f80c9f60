#include "solve_run.h"

#include "pipeline.h"
#include "stats_report.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

namespace kaleno {

ExitStatus runSolve(const RunOptions &options, const ThreadStarter &threadStarter)
{
    const auto start = std::chrono::steady_clock::now();
    AnswerWriter writer(options.pretty);
    bool allRead = true;
    int threads = 0;
    {
        Pipeline pipeline(options, writer, threadStarter);
        threads = pipeline.threads();
        for (const std::string &file : options.files) {
            if (writer.error() != 0)
                break; // nobody reads the answers any more
            allRead = pipeline.answerInput(file) && allRead;
        }
        pipeline.finish();
    }
    if (options.stats != StatsForm::None) {
        const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
        printStats(writer.stats(), options, threads, wall.count());
    }
    if (writer.error() != 0) {
        std::fprintf(stderr, "kaleno-solve: cannot write the answers to standard output: %s\n",
            std::strerror(writer.error()));
        return UsageOrFileError;
    }
    if (!allRead)
        return UsageOrFileError;
    return writer.stats().tally(Tally::InvalidLine) > 0 ? SomeLineInvalid : AllRead;
}

} // namespace kaleno
