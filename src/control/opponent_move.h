// Entering the opponent's move into the game (WinBoard move, desktop move entry): the ponder-hit
// test, the game-end test and the engine's reply.
#pragma once

namespace corvid {

enum class OpponentMoveResult { Illegal, GameOver, Played };

// Plays the move text for the side to move. thinkAfter: request the engine's reply (off while
// analysing, where the caller restarts the analysis). beforeMove (when given) runs once the game
// belongs to the command side, before the move is made (the time budget reads the game).
OpponentMoveResult enterOpponentMove(const char* text, bool thinkAfter,
                                     void (*beforeMove)() = nullptr);

} // namespace corvid
