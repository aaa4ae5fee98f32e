// Replacing the game shown by a game read from PGN (a file's game, a pasted transcript): the
// game is first replayed on a copy, so a text that is no game, or whose FEN tag is not a
// valid position, changes nothing.
#pragma once

#include "chess/pgn.h"
#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

struct PgnGame {
    PgnTags tags;
    std::string moveText;
};

// Reads the first game of a text. False when the text holds none.
bool readPgnText(const std::string& text, PgnGame& game);

// What replaying the game would give, worked out on a copy.
struct PgnGameCheck {
    bool startValid = true; // its FEN tag (if any) is a valid position
    const char* error = ""; // why not
    bool hasTags = false;   // it has a tag section
    int movesPlayed = 0;    // moves that play from its start
};
PgnGameCheck checkPgnGame(const PgnGame& game);

// Replaces the game shown (the search stopped): a new game from the FEN tag or the standard
// position, the moves recorded, then the ply of the "CurrentPly" tag shown, else the last.
// The board mode stays. False, with nothing changed, when the start position is invalid.
bool startGameFromPgn(WindowState& state, const PgnGame& game);

// The window shows the game as it now stands and the other listeners hear of it (window
// thread, search idle).
void gameReplaced(WindowState& state);

} // namespace corvid
