// A copy of the game as the window shows it: the board, the side to move and the move texts.
// Taken by whichever thread owns the game at that moment (the search thread after its move,
// the window thread after the user's), then handed to the window thread, which draws only
// from copies and never reads the live game while the search thread may change it.
#pragma once

#include "chess/types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace corvid {

struct GameSnapshot {
    uint8_t board[64];
    int sideToMove = White;
    int ply = 0;       // the position's ply
    int startPly = 0;  // the ply the game started from
    int moveCount = 0; // plies recorded (the record may reach beyond ply after stepping back)
    bool inCheck = false;
    std::vector<std::string> moveTexts; // by ply, 0 .. moveCount - 1 ("" before startPly)
    std::string fen;                    // of the position shown
    std::string startFen;               // of the position the game started from
    bool standardStart = true;          // the game started from the standard position

    GameSnapshot();
};

// The game as it stands (call only on the thread that owns the game at the moment).
GameSnapshot takeGameSnapshot();

} // namespace corvid
