// kaleno-grid-hunt KIND FIRST_SEED COUNT [KEEP]
//
// Makes COUNT grids of KIND (sparse, unique, no_solution, late_contradiction) from the seeds
// FIRST_SEED, FIRST_SEED + 1, ..., solves each with the fast engine, and prints the KEEP
// (default 10) that took the most nodes, hardest first: kind, seed, nodes, microseconds, grid.
// Nodes rank them, not times, so that a hunt gives the same list on every machine; the seeds
// go into hardestGeneratedGrids() in tests/support/grid_generator.cpp.

#include "fast_engine.h"
#include "grid_generator.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ratio>
#include <string>
#include <vector>

namespace {

using namespace kaleno;

struct Kind
{
    const char *name;
    testing::GridKind kind;
};

constexpr Kind kinds[] = {
    {"sparse", testing::GridKind::Sparse},
    {"unique", testing::GridKind::Unique},
    {"no_solution", testing::GridKind::NoSolution},
    {"late_contradiction", testing::GridKind::LateContradiction},
};

struct Hunted
{
    std::uint64_t seed;
    std::uint64_t nodes;
    double micros;
    Grid grid;
};

} // namespace

int main(int argc, char *argv[])
{
    const Kind *kind = nullptr;
    for (const Kind &k : kinds) {
        if (argc > 1 && std::string(argv[1]) == k.name)
            kind = &k;
    }
    if (argc < 4 || argc > 5 || kind == nullptr) {
        std::fprintf(stderr,
            "usage: kaleno-grid-hunt sparse|unique|no_solution|late_contradiction FIRST_SEED "
            "COUNT [KEEP]\n");
        return 2;
    }
    const std::uint64_t first = std::strtoull(argv[2], nullptr, 10);
    const long count = std::atol(argv[3]);
    const std::size_t keep = argc > 4 ? std::strtoul(argv[4], nullptr, 10) : 10;
    std::vector<Hunted> hardest;
    for (long i = 0; i < count; ++i) {
        const std::uint64_t seed = first + static_cast<std::uint64_t>(i);
        const Grid grid = testing::generatedGrid(kind->kind, seed);
        const auto start = std::chrono::steady_clock::now();
        const SearchResult result = fastSolve(grid);
        const auto stop = std::chrono::steady_clock::now();
        hardest.push_back({seed, result.placements,
            std::chrono::duration<double, std::micro>(stop - start).count(), grid});
        std::sort(hardest.begin(), hardest.end(),
            [](const Hunted &a, const Hunted &b) { return a.nodes > b.nodes; });
        if (hardest.size() > keep)
            hardest.pop_back();
    }
    for (const Hunted &h : hardest) {
        std::printf("%s %llu %llu %.1f %s\n", kind->name, static_cast<unsigned long long>(h.seed),
            static_cast<unsigned long long>(h.nodes), h.micros, gridText(h.grid).c_str());
    }
    return 0;
}
