// The recursive search below the root: the alpha-beta node and the quiescence search.
#pragma once

#include "search/search_context.h"

namespace corvid {

// Principal variation search of the context's working position to depth (half plies), at the
// ply position.ply - rootPly. Returns the score for the side to move, or AbortScore when the
// search must stop (callers pass it up at once).
int searchNode(SearchContext& context, int alpha, int beta, int depth, bool nullAllowed,
               int nodeType);

// Captures, promotions and, near the horizon, checks; qd grows by 2 per level. Never aborts.
int quiesce(SearchContext& context, int alpha, int beta, int qd, int nodeType);

} // namespace corvid
