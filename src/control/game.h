// The engine control's operations on the game (the game record module owns the game itself).
// The command side changes the game only while the search thread is idle (or, for the
// opponent's move, while the search thread ponders on its own copy); the search thread changes
// it only while it runs a request.
#pragma once

#include "chess/game_record.h"

#include <cstdint>

namespace corvid {

inline const Position& currentGamePosition() { return gamePosition; }
// Plies recorded since the start position (moves played in the game).
inline int gameMoveCount() { return gameRecord.moveCount; }
// Entry p = key of the game position at ply p, for p below gamePosition.ply.
inline const uint64_t* gameKeyHistory() { return KeyHistory.keys; }

// A new game from start (the standard position when null), with an empty record.
void resetGame(const Position* start);
// Plays a legal move on the game and records it; false (nothing changed) otherwise.
bool playGameMove(Move move);
// Reads move text (coordinates, SAN or the long form; "Null" passes the turn) and plays it;
// false (nothing changed) when it is not a legal move here.
bool playGameMoveText(const char* text);
// Takes back that many plies; false (nothing changed) when the game has fewer.
bool takeBackPlies(int plies);

// Installs the engine control's part of recording a move (once, at engine start).
void installMoveRecordedHook();

} // namespace corvid
