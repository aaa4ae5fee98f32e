// Where a protocol game reaches into other subsystems: the static evaluation for "evaluate",
// the game log of finished games and book learning after a lost game.
#pragma once

#include "chess/position.h"

namespace corvid {

// The static evaluation of the position for the side to move (full window).
int staticEvaluation(const Position& position);
// Appends the game with the result to "WinboardGames.pgn".
void logProtocolGame(int result);
// Prunes the book after a game the engine lost (or drew as white).
void learnFromLostGame(int result);

} // namespace corvid
