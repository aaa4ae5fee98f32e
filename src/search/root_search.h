// The root of the search: iterative deepening with aspiration windows and multi-line analysis.
#pragma once

#include "search/search_context.h"

namespace corvid {

// Searches the context's root position (set up by setUpSearchContext) up to maxDepth plies
// (0 or less: no iteration) under the limits and stop requests of searchInfo; returns the best
// move, 0 when there is no legal move. The lines found are left in context.rootLines (slot 0 the
// best).
Move rootSearch(SearchContext& context, int maxDepth);

// A helper thread's search of the root its context was set up with (setUpHelperContext): the
// iterations up to maxDepth plies, leaving out those its helper number skips, until the main
// search raises the helper's stop flag. It reports nothing; the table is all it leaves.
void helperRootSearch(SearchContext& context, int maxDepth, int helper);
// Whether helper number helper (1 and up) leaves out the iteration of depthPlies.
bool helperSkipsIteration(int helper, int depthPlies, int rootPly);

// The nodes of the search so far: the main search's own and its helpers'.
uint64_t searchedNodes(const SearchContext& context);
// The lines searched per iteration: the front end's line count (multiPv) in any search, else
// the analysis line count while analysing, else 1; at most MaxRootLines.
int linesPerIteration(const SearchContext& context);

// The stop rules between iterations of a timed search (not analysing, not pondering), from
// the fourth iteration on: the last search was stopped, the move is forced, the next iteration
// would not fit the budget, or an obvious recapture stayed best.
bool stopBetweenIterations(const SearchContext& context, int lastResult);

// Bound kinds of a reported line.
constexpr int ExactBound = 0, LowerBound = 1, UpperBound = 2;

// The aspiration window of an iteration at depth (half plies) for a slot whose last score was
// previous, at widening step k (0..3). Exposed for tests.
struct AspirationWindow {
    int alpha, beta, step;
};
AspirationWindow firstAspirationWindow(int previous, int depth);
// The window after a result v that failed against w (the step advances; only the failing side
// moves). step 4 means no further search.
AspirationWindow widenAspirationWindow(AspirationWindow w, int previous, int v);

} // namespace corvid
