// The Game and Develop menus' commands on the game itself: Chess960 games, draw offers and
// resignation by the user, the clock reset, the null move, the colour mirror and the perft
// display. Each returns the status text it shows ("" for none).
#pragma once

#include "gui/logic/dialog_services.h"
#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

// "New Chess960 Game" with start position number 0..959 (the command draws it at random):
// a new game from it, then the engine thinks when it is to move.
void startChess960Game(WindowState& state, int number);
int randomChess960Number();

// "Offer/Accept Draw": agreed (result drawn, beep) when the user plays one side against the
// engine, the game runs and the engine finds a draw acceptable; otherwise refused.
std::string offerDraw(DialogServices& dialogs);
// "&Resign": the user's side loses while the game runs (with the engine on both sides or on
// neither, nothing happens).
std::string resignGame(DialogServices& dialogs);
// "&Reset Clock": both clocks back to 0, the flag-fall notice forgotten.
std::string resetClocks(WindowState& state);

// "Play Null Move": passes the turn, recorded in the game; refused in check.
std::string playNullMove(WindowState& state);
// The Develop menu's "Flip Board": the game goes on from the colour mirror of its position.
std::string mirrorPosition(WindowState& state);
// "Display Perft": counts for depths 1 to 5 of the position shown, the time and the speed.
std::string perftDisplay();

} // namespace corvid
