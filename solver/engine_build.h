#pragma once

#include "fast_engine.h"
#include "grid.h"
#include "search_result.h"

/// The engine's code is compiled twice: for any processor, and for x86-64 processors with AVX2
/// and BMI2. Each build keeps its classes in a namespace of its own, named by
/// KALENO_ENGINE_BUILD (`baseline` when unset), so that the two never share an inline function
/// compiled for the wider processors, which the other would then call on any processor.
#if !defined(KALENO_ENGINE_BUILD)
#define KALENO_ENGINE_BUILD baseline
#endif

namespace kaleno {

// Each build's entry points; fastSolve() and countCompletions() call one or the other.
namespace baseline {
SearchResult fastSolve(const Grid &givens, const SearchTurns &turns);
int countCompletions(const Grid &givens, int limit);
} // namespace baseline

namespace wide {
SearchResult fastSolve(const Grid &givens, const SearchTurns &turns);
int countCompletions(const Grid &givens, int limit);
} // namespace wide

} // namespace kaleno
