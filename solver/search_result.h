#pragma once

#include "grid.h"

#include <cstdint>
#include <limits>

namespace kaleno {

/// How a search of the grid ended.
enum class SearchEnd {
    Completed, ///< every free cell holds a value: the smallest completion in row-major order
    Exhausted, ///< no completion exists
    StepLimit, ///< the bound on placements was reached first
};

struct SearchResult
{
    SearchEnd end = SearchEnd::Exhausted;
    Grid grid {}; ///< the completion when Completed; otherwise unspecified
    std::uint64_t placements = 0; ///< values the search put into cells
};

/// No bound on a search's placements.
constexpr std::uint64_t Unbounded = std::numeric_limits<std::uint64_t>::max();

} // namespace kaleno
