// kaleno-bench-sets DIR [PER_SET [SEED]]: writes the generated puzzle sets into DIR, one
// file a set, one grid a line. The same seed gives the same files on every machine.

#include "grid_generator.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char *argv[])
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: kaleno-bench-sets DIR [PER_SET [SEED]]\n");
        return 2;
    }
    const std::string directory = argv[1];
    const int perSet = argc > 2 ? std::atoi(argv[2]) : 1000;
    const std::uint64_t seed = argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 2026;
    if (perSet <= 0) {
        std::fprintf(stderr, "kaleno-bench-sets: PER_SET must be a positive number\n");
        return 2;
    }
    for (const auto &set : kaleno::testing::generatedSets(seed, perSet)) {
        const std::string path = directory + "/" + set.name + ".txt";
        std::ofstream out(path);
        for (const auto &grid : set.grids)
            out << kaleno::gridText(grid) << '\n';
        if (!out) {
            std::fprintf(stderr, "kaleno-bench-sets: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
