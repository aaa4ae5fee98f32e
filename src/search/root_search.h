// The root of the search: iterative deepening from the context's root position.
#pragma once

#include "search/score.h"
#include "search/search_context.h"

namespace corvid {

// Searches the context's root position up to maxDepth plies (0 or less: no iteration) under the
// limits and stop requests of searchInfo; returns the best move, 0 when there is no legal move.
// The lines found are left in context.rootLines (slot 0 the best).
Move rootSearch(SearchContext& context, int maxDepth);

// Bound kinds of a reported line.
constexpr int ExactBound = 0, LowerBound = 1, UpperBound = 2;

} // namespace corvid
