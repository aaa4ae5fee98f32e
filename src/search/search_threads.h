// Helper search threads: with more than one search thread, helpers search the root of every
// search alongside the main search thread. They share only the transposition table; each has
// its own search context (stack, killers, histories, counter moves), pawn cache and evaluation
// scratch. The main search alone decides when to stop, which move to play and what to report.
#pragma once

#include "search/search_context.h"

#include <cstddef>
#include <cstdint>

namespace corvid {

constexpr int MaxSearchThreads = 256;
// A helper's own pawn cache: smaller than the main search's; its hit rate hardly suffers.
constexpr int HelperPawnCacheEntries = 8192;

// Main search thread only. Brings the helper count to searchInfo.searchThreads - 1 (read here,
// so a change takes effect at the next search), sets each helper up on the main search's root
// (its root moves, age and switches already taken) and starts them.
void startHelperSearch(const SearchContext& main, int maxDepth);
// Raises the helpers' stop flag and waits until none of them searches any more. Safe when no
// helper was started.
void stopHelperSearch();

// The nodes (all, and quiescence) the helpers searched in the current or the last search.
uint64_t helperNodes();
uint64_t helperQuiescenceNodes();

// The helper threads that exist (idle or searching).
int helperThreadCount();
// Ends every helper thread; they must be idle (no search runs). The next search starts them
// again as needed.
void endHelperThreads();

// The bytes of one helper's own tables: its search context and its pawn cache.
size_t helperThreadBytes();

} // namespace corvid
