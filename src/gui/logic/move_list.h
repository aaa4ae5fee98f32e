// The side panel's move list: one entry per move pair, and the plies its entries stand for.
#pragma once

#include "gui/logic/game_snapshot.h"

#include <string>
#include <vector>

namespace corvid {

// "%d. %s  |  %s" per move pair, "%d. %s " while the pair holds only white's move; a game
// that starts with black to move shows "..." for white's half of its first pair.
std::vector<std::string> moveListEntries(const GameSnapshot& game);
// The entry of the position's last move (0 at the start of the game), -1 for an empty list.
int moveListSelection(const GameSnapshot& game);
// The ply the game goes to when an entry is chosen (after that entry's moves), limited to the
// recorded moves whatever the entry index.
int plyOfEntry(const GameSnapshot& game, int entry);

} // namespace corvid
