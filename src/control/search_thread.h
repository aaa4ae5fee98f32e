// The search thread: runs think, analyse and ponder requests, plays the engine's moves and
// ponders on the expected reply.
#pragma once

namespace corvid {

// The thread's body; never returns.
void searchThreadLoop();

} // namespace corvid

#include "chess/position.h"

namespace corvid {

// True when the position is the one the search thread ponders on (the expected reply made):
// the command side's ponder-hit test after the opponent's move.
bool isPonderedPosition(const Position& position);

} // namespace corvid
