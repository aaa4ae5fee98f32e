// The root of the search: iterative deepening from the context's root position.
#pragma once

#include "search/search_context.h"

namespace corvid {

// Searches the context's root position up to maxDepth plies (0 or less: no iteration) under the
// limits and stop requests of searchInfo; returns the best move, 0 when there is no legal move.
// The lines found are left in context.rootLines (slot 0 the best).
Move rootSearch(SearchContext& context, int maxDepth);

// Bound kinds of a reported line.
constexpr int ExactBound = 0, LowerBound = 1, UpperBound = 2;

// Score scale.
constexpr int MateValue = 10000;
constexpr int MateThreshold = 9800;
constexpr int NoScore = -30000;
constexpr int AbortScore = 100000;

} // namespace corvid
