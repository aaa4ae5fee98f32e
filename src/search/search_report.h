// What the search tells whoever drives it: copies of its root lines and figures, handed to the
// engine's reporter on the search thread.
#pragma once

#include "platform/engine_reporter.h"
#include "search/search_context.h"

namespace corvid {

// A copy of the context's root lines and counters; bound is that of the line being searched.
void fillSearchReport(const SearchContext& context, int bound, SearchReport& report);

// A new best line or bound at the root (the protocol modes' thinking output).
void reportSearchLine(const SearchContext& context, int bound);
// The running search's figures (the desktop's search information).
void refreshSearchDisplay(const SearchContext& context);
// The figures of a search that has ended, once (the desktop's final search information).
void reportFinishedSearch(const SearchContext& context);
// The root lines for the line display; kind 0 exact, 1 fail high, 2 fail low.
void showSearchLines(const SearchContext& context, int kind);

// The reply expected in the position after the engine's move ourMove: the table's move for the
// position when legal there, else the second move of the search's line when it began with
// ourMove. 0 when none.
Move expectedReply(const Position& after, Move ourMove, const SearchContext& context);

} // namespace corvid
