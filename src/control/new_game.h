// Every way of starting a game goes through newGame.
#pragma once

#include "chess/position.h"

namespace corvid {

// Stops the search first when asked, then resets the game position (startPosition, or the
// standard position when null), the record, the result, the clocks and the resignation
// counters. redraw refreshes the desktop (nothing in the protocol modes).
void newGame(bool redraw, bool stopFirst, const Position* startPosition);

} // namespace corvid
