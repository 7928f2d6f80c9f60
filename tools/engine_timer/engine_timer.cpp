// kaleno-engine-timer [--generated PER_SET [SEED]] [FILE ...]
//
// Times fastSolve alone, from a grid's givens to its answer, and prints one line per set:
// grids, mean and max microseconds, mean nodes. The mean is that of one pass over the set; the
// max re-times the slowest grids of that pass several times each and keeps each one's fastest
// time, so that a moment when the machine was busy elsewhere does not count as the engine's.
// FILE holds one 81-character grid a line ('.' or '0' for a free cell); other lines are
// skipped. --generated adds the sets of tests/support/grid_generator.h.

#include "fast_engine.h"
#include "grid_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ratio>
#include <string>
#include <vector>

namespace {

using namespace kaleno;

constexpr std::size_t SlowestRetimed = 20;
constexpr int Retimes = 5;

double microsecondsOf(const Grid &grid, std::uint64_t &nodes)
{
    const auto start = std::chrono::steady_clock::now();
    const SearchResult result = fastSolve(grid);
    const auto stop = std::chrono::steady_clock::now();
    nodes = result.placements;
    return std::chrono::duration<double, std::micro>(stop - start).count();
}

void timeSet(const std::string &name, const std::vector<Grid> &grids)
{
    if (grids.empty())
        return;
    std::vector<double> times(grids.size());
    double total = 0;
    std::uint64_t totalNodes = 0;
    for (std::size_t i = 0; i < grids.size(); ++i) {
        std::uint64_t nodes = 0;
        times[i] = microsecondsOf(grids[i], nodes);
        total += times[i];
        totalNodes += nodes;
    }
    std::vector<std::size_t> order(grids.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    const std::size_t slowest = std::min(SlowestRetimed, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(slowest),
        order.end(), [&](std::size_t a, std::size_t b) { return times[a] > times[b]; });
    double worst = 0;
    std::size_t worstIndex = 0;
    for (std::size_t k = 0; k < slowest; ++k) {
        double best = times[order[k]];
        for (int run = 0; run < Retimes; ++run) {
            std::uint64_t nodes = 0;
            best = std::min(best, microsecondsOf(grids[order[k]], nodes));
        }
        if (best > worst) {
            worst = best;
            worstIndex = order[k];
        }
    }
    const auto count = static_cast<double>(grids.size());
    std::printf("%-32s %8zu grids  mean %9.2f us  max %10.1f us (line %zu)  nodes %10.1f\n",
        name.c_str(), grids.size(), total / count, worst, worstIndex + 1,
        static_cast<double>(totalNodes) / count);
}

std::vector<Grid> readGrids(const char *path)
{
    std::vector<Grid> grids;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        Grid grid {};
        if (parseGridText(line.substr(0, CellCount), grid))
            grids.push_back(grid);
    }
    return grids;
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument == "--generated" && i + 1 < argc) {
            const int perSet = std::atoi(argv[++i]);
            std::uint64_t seed = 2026;
            if (i + 1 < argc && argv[i + 1][0] != '-' && std::atoi(argv[i + 1]) > 0)
                seed = std::strtoull(argv[++i], nullptr, 10);
            for (const auto &set : testing::generatedSets(seed, perSet))
                timeSet(set.name, set.grids);
            continue;
        }
        const std::vector<Grid> grids = readGrids(argv[i]);
        if (grids.empty()) {
            std::fprintf(stderr, "kaleno-engine-timer: no grid in %s\n", argv[i]);
            return 1;
        }
        timeSet(argument.substr(argument.find_last_of('/') + 1), grids);
    }
    return 0;
}
