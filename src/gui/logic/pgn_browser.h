// PGN files in the desktop: the file last loaded and the game shown from it, stepping to the
// next and previous game, appending the game to a file, and the folder the file picker opens.
#pragma once

#include "chess/pgn.h"
#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

struct PgnBrowser {
    std::string file; // the file last loaded ("" before the first)
    int gameIndex = 1;
    PgnFileIndex index; // where its games begin
};

// Loads game n of the file (the search stopped) and shows "Game n ..." on the status line.
// Returns n when loaded, UnloadableGame when game n is there but its FEN tag is no valid
// position (the reason goes to the status line), else the number of games in the file (fewer
// than n) or 0 when it cannot be read; the game shown stays unless loaded.
constexpr int UnloadableGame = -1;
int loadPgnGame(WindowState& state, PgnBrowser& browser, const std::string& file, int n);

// "Load PGN" with the chosen file ("" when the picker was cancelled: nothing happens): game 1,
// and the file is remembered (with its folder) when it has one. The status text.
std::string openPgnFile(WindowState& state, PgnBrowser& browser, const std::string& file);
// Next and previous game of the file: a game that does not exist sets the index back to 1
// and leaves the board. Previous never goes below game 1. The status text ("" when loaded).
std::string nextPgnGame(WindowState& state, PgnBrowser& browser);
std::string previousPgnGame(WindowState& state, PgnBrowser& browser);

// Writes the game shown as PGN (append: after the file's games, never replacing them), with
// the result and player names of the game. False when the file could not be written.
bool saveGameToFile(const std::string& file, bool append);
// "Append (Save) Game to File" with the chosen file ("": nothing happens). The status text:
// "Game Saved." only when the write succeeded.
std::string appendGameToFile(const std::string& file);
// Loads game 1 of a file the desktop wrote ("undopaste.pgn", "clipboard.pgn"); false when
// there is none (nothing changes then).
bool loadFirstGame(WindowState& state, const std::string& file);

// The folder the PGN picker opens in: the last PGN file's, kept between runs.
std::string lastPgnFolder();
void rememberPgnFolder(const std::string& file);

} // namespace corvid
