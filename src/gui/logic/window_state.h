// The window's state (window thread only): geometry, orientation, selection, modes, what the
// board shows and the side panel's texts. The Qt layer draws from it; the logic changes it.
#pragma once

#include "gui/logic/board_layout.h"
#include "gui/logic/game_snapshot.h"
#include "gui/logic/key_table.h"

#include <cstdint>
#include <string>

namespace corvid {

// selectedSquare values besides 0..63.
constexpr int NothingSelected = 66, MoveJustEntered = 67;
// boardMode values.
constexpr int PlayMode = 1, BookViewMode = 2, AnalysisMode = 3;

struct WindowState {
    WindowLayout layout;
    bool flipped = false;
    int selectedSquare = NothingSelected;
    bool setupMode = false;
    int boardMode = PlayMode;
    int setupButton = DefaultSetupPiece; // the set-up panel's piece
    uint8_t setupBoard[64];              // the board being set up
    GameSnapshot game;                   // the game as last reported
    uint8_t previousBoard[64];           // the board before the last change
    bool hasPrevious = false;
    uint64_t legalTargets = 0; // squares the selected piece may move to
    std::string statusText;
    std::string whiteName = "Human", blackName = "Corvid";
    bool flagFallNotice = false; // given once per game
    bool analysisPaneOpen = false;
    int humanSideBeforeMode = -1;  // who played before book view or analysis (-1: in play)
    bool userDefinedLevel = false; // the level menu checks "User Defined Level", not a depth

    WindowState();
    // The board the window shows: the one being set up in set-up mode, else the game's.
    const uint8_t* shownBoard() const { return setupMode ? setupBoard : game.board; }
};

} // namespace corvid
