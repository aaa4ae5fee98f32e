// What the node at the root does besides searching: measuring the first move, recording and
// reporting new best lines, and taking back a fail high that did not hold.
#pragma once

#include "search/search_context.h"

namespace corvid {

// Searches root move m (already made) to newDepth: the first move with the full window, later
// ones with a null window and, after a fail high, the full window again. alpha/beta are the
// root's window, a/b the window the move is searched with (widened for repetition damping).
// Returns the score from the root's view in the searched window, or AbortScore.
int searchRootMove(SearchContext& context, Move m, int alpha, int beta, int a, int b, int newDepth,
                   bool first, bool damped);

// A root move raised alpha with score v: it becomes the root line and the slot's best.
void rootMoveRaisedAlpha(SearchContext& context, Move m, int v, int beta);

} // namespace corvid
