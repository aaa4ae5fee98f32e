// The lines the search thread sends: search information ("info ..." in UCI, the thinking line
// in WinBoard), the UCI best move and the WinBoard move.
#pragma once

#include "search/search_context.h"

#include <string>

namespace corvid {

// Called by the search when a new best line or bound is found at the root: writes the line of
// the active protocol when thinking output is on.
void reportSearchLine(const SearchContext& context, int bound);

// The UCI score text: "cp 35" or "mate -2".
std::string uciScoreText(int score, int depthPlies, int gamePly);
// The line's moves from the root position, each followed by one blank; SAN when san is set,
// else coordinates. Only the first move of a bound line (WinBoard adds its bound mark).
std::string principalVariationText(const SearchContext& context, const RootLine& line, int bound,
                                   bool san);

// The reply expected in the position after the engine's move ourMove: the table's move for the
// position when legal there, else the second move of the search's line when it began with
// ourMove. 0 when none.
Move expectedReply(const Position& after, Move ourMove, const SearchContext& context);

// "bestmove e2e4 ponder e7e5" ("bestmove (none)" without a legal move).
void sendBestMove(const Position& position, Move move, const SearchContext& context);
// "move e2e4".
void sendWinBoardMove(const Position& positionBefore, Move move);

// The text of the move being pondered, shown at the front of WinBoard thinking lines while
// pondering (search thread only).
void setPonderMoveText(const char* text);

} // namespace corvid
