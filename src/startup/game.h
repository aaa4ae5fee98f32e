// The engine's game: its position, start position, moves and position keys. The command side
// changes it only while the search thread is idle (or, for the opponent's move, while the
// search thread ponders on its own copy); the search thread changes it only while it runs a
// request.
#pragma once

#include "chess/position.h"

#include <cstdint>

namespace corvid {

const Position& currentGamePosition();
const Position& gameStartPosition();
// Plies recorded since the start position.
int gameMoveCount();
// Entry p = key of the game position at ply p, for p up to currentGamePosition().ply.
const uint64_t* gameKeyHistory();

// A new game from start (the standard position when null), with an empty record.
void resetGame(const Position* start);
// Plays a legal move on the game and records it; false (nothing changed) otherwise.
bool playGameMove(Move move);
// Reads move text (coordinates, SAN or the long form; "Null" passes the turn) and plays it;
// false (nothing changed) when it is not a legal move here.
bool playGameMoveText(const char* text);
// The move the text names in the game position, 0 when none.
Move gameMoveFromText(const char* text);
// Replays the game from its start up to ply count n (all when n exceeds the record).
void goToGamePly(int n);

} // namespace corvid
