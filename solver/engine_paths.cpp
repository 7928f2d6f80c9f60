#include "engine_build.h"
#include "fast_engine.h"

namespace kaleno {

namespace {

bool processorRunsWideBuild()
{
#if defined(KALENO_WIDE_ENGINE)
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi")
        && __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt");
#else
    return false;
#endif
}

} // namespace

bool runsWidePath()
{
    static const bool runs = processorRunsWideBuild();
    return runs;
}

SearchResult fastSolve(
    const Grid &givens, const SearchTurns &turns, [[maybe_unused]] EnginePath path)
{
#if defined(KALENO_WIDE_ENGINE)
    if (path == EnginePath::Widest && runsWidePath())
        return wide::fastSolve(givens, turns);
#endif
    return baseline::fastSolve(givens, turns);
}

int countCompletions(const Grid &givens, int limit, [[maybe_unused]] EnginePath path)
{
#if defined(KALENO_WIDE_ENGINE)
    if (path == EnginePath::Widest && runsWidePath())
        return wide::countCompletions(givens, limit);
#endif
    return baseline::countCompletions(givens, limit);
}

} // namespace kaleno
