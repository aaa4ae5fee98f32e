// "Play PV": the last principal variation the search reported, played on the game from where
// the game stands on it.
#pragma once

#include "chess/position.h"
#include "gui/logic/window_state.h"
#include "platform/engine_reporter.h"

#include <vector>

namespace corvid {

// The best line of the last search report, with the position it starts from.
struct LastLine {
    bool valid = false;
    Position root;
    CastleInfo castleInfo; // the root's castling rooks (root.castleInfo is set on use)
    std::vector<Move> moves;
};
// Keeps the report's best line (window thread, from the report's copy).
void rememberLine(LastLine& line, const SearchReport& report);

// Plays the line's moves that follow the game position (the search stopped): the game must
// stand on the line (at its start or after some of its moves); then each further move is
// played while it is legal in turn, up to a 0 move or a marker. The number of moves played,
// -1 when the game does not stand on the line.
int playPrincipalVariation(WindowState& state, const LastLine& line);

} // namespace corvid
