// The engines alone, without files or text: kaleno_bench [--benchmark_filter=...]

#include "fast_engine.h"
#include "grid_generator.h"
#include "reference_search.h"
#include "solve_core.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

using namespace kaleno;

// Made once: a few hundred grids of each generated kind, and the hardest ones found.
const std::vector<testing::GridSet> &sets()
{
    static const auto made = testing::generatedSets(7, 200);
    return made;
}

Grid samplePuzzle()
{
    Grid grid {};
    parseGridText(
        "1....7.9..3..2...8..96..5....53..9...1..8...26....4...3......1..4......7..7...3..", grid);
    return grid;
}

// The fast engine over one generated set, a grid per iteration.
void fastSolveSet(benchmark::State &state)
{
    const auto &set = sets()[static_cast<std::size_t>(state.range(0))];
    std::size_t next = 0;
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        benchmark::DoNotOptimize(fastSolve(set.grids[next++ % set.grids.size()]));
    state.SetLabel(set.name);
}
BENCHMARK(fastSolveSet)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

void fastSolveSample(benchmark::State &state)
{
    const Grid grid = samplePuzzle();
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        benchmark::DoNotOptimize(fastSolve(grid));
}
BENCHMARK(fastSolveSample)->Unit(benchmark::kMicrosecond);

void referenceSolveSample(benchmark::State &state)
{
    const Grid grid = samplePuzzle();
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        benchmark::DoNotOptimize(referenceSolve(grid));
}
BENCHMARK(referenceSolveSample)->Unit(benchmark::kMicrosecond);

// The whole solve command on the sample puzzle's cell texts: reading, checks, search, texts.
void solveCellsSample(benchmark::State &state)
{
    const Grid grid = samplePuzzle();
    CellTexts texts;
    for (int cell = 0; cell < CellCount; ++cell) {
        if (grid[static_cast<std::size_t>(cell)] != 0)
            texts[static_cast<std::size_t>(cell)]
                = std::string(1, static_cast<char>('0' + grid[static_cast<std::size_t>(cell)]));
    }
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        benchmark::DoNotOptimize(solveCells(texts));
}
BENCHMARK(solveCellsSample)->Unit(benchmark::kMicrosecond);

void countCompletionsSet(benchmark::State &state)
{
    const auto &set = sets()[static_cast<std::size_t>(state.range(0))];
    std::size_t next = 0;
    for (auto _ : state) // NOLINT(clang-analyzer-deadcode.DeadStores): the library's loop idiom
        benchmark::DoNotOptimize(countCompletions(set.grids[next++ % set.grids.size()], 2));
    state.SetLabel(set.name);
}
BENCHMARK(countCompletionsSet)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
