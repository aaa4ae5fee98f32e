// The window thread's operations on the game and the engine: mouse and key input, new games,
// sides, set-up mode, the clocks, navigation in the game and the exit. Everything here runs on
// the window thread; the game is read or changed only while the search thread leaves it alone.
#pragma once

#include "gui/logic/clock_display.h"
#include "gui/logic/command_table.h"
#include "gui/logic/window_state.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace corvid {

// A new copy of the game arrived: the board shows it, the last change is remembered for the
// last-move frames, and a selection that no longer holds a piece of the side to move ends.
void showGame(WindowState& state, const GameSnapshot& game);

// The engine is busy on its own move (thinking, or a request pending): the user may not move
// and keys are ignored. Pondering and analysis leave the board to the user.
bool engineBusy();

enum class ClickOutcome { Ignored, Selected, Played, Refused, SetupChanged };
// Left button down on a square (-1: off the board). Enters a move from the selected square,
// or selects a piece of the side to move. A pawn reaching the last rank asks the reporter for
// the piece (on this thread the window asks the user).
ClickOutcome pressSquare(WindowState& state, int square);
// Left button up: a drag from the selected square ends in a move.
ClickOutcome releaseSquare(WindowState& state, int square);
// Right button: in set-up mode empties the square; in play runs the square-details action.
ClickOutcome rightClickSquare(WindowState& state, int square,
                              const std::function<void(int)>& squareDetails);
// Pointer moved with a button held in set-up mode: left puts a pawn on the square (only pawns
// are strewn), right empties it.
ClickOutcome setupDrag(WindowState& state, int square, bool left, bool right);

// A key press (letter or digit) with or without Control: the shortcut's command, or the set-up
// piece shortcuts in set-up mode. Ignored while the engine is busy. Returns the command id
// dispatched (0 when none).
int pressKey(WindowState& state, char key, bool control, const CommandDispatcher& dispatcher);

// The window part of a new game: play mode, nothing selected, set-up mode left, the flag-fall
// notice cleared, names and orientation refreshed.
void resetWindowForNewGame(WindowState& state);
// The first game at start-up: names, orientation, the standard position, redraw.
void startFirstGame(WindowState& state);
// The analysis pane opens at start-up when the search information is shown.
bool analysisPaneWanted();
// The side to move's clock is highlighted while the clocks run in a running game.
bool clocksHighlighted();
// "New Game": stop, the standard position, redraw, then the engine thinks when it is to move.
void startNewGame(WindowState& state);
// Engine plays white (human black), black, neither, or both.
void setHumanSide(WindowState& state, int humanSide);
// The names over the clocks and, with auto-flip, the board's orientation.
void refreshNamesAndOrientation(WindowState& state);
// Enters or leaves set-up mode.
void toggleSetupMode(WindowState& state);

// "Retract": back one half-move, or two when the engine moved last, so that the user is to
// move.
void retract(WindowState& state);
// "Move": the engine takes over the side to move and plays now.
void engineMovesNow(WindowState& state);
// Moves through the game record (stopping the search first); any ply is limited to the record.
void goToPly(WindowState& state, int ply);
void goToMoveListEntry(WindowState& state, int entry);

// One clock tick (every 200 ms): the reading, and a flag fall given once per game (it ends the
// game, and stops a ponder search). notice is "" without one.
struct ClockTick {
    ClockReading reading;
    std::string notice;
};
ClockTick clockTick(WindowState& state);

// "Corvid 1.5 - White vs Black", with the result once the game has ended.
std::string gameWindowTitle(const WindowState& state);
// The check mark of a menu item.
bool commandChecked(int id, const WindowState& state);
// The last-move frames preference.
bool highlightLastMove();
// The display preferences this program adds (kept in the desktop's settings file).
bool showCoordinates();
bool showLegalMoves();

// Book view: the book moves (from, to) of the shown position, in the book's order.
std::vector<std::pair<int, int>> bookMoveSquares();
// The colour slot of the i-th book move (slots 0..8), wrapping for any number of moves.
int bookMoveColourSlot(int i);

// Registers the commands of the window itself: new game, sides, set-up, flip, auto-flip,
// highlight, the display preferences, and the side panel's navigation, Retract and Move. exitAction
// closes the window.
void registerWindowCommands(CommandDispatcher& dispatcher, WindowState& state,
                            std::function<void()> exitAction);

// A window closed without ending the program (tests): the search is stopped.
void leaveWithoutExit();
// The exit: stops the search and ends its thread, returns to the start directory and writes
// "Corvid.dft", "engineWB.dft" and "engineGUI.dft". False when a file could not be written.
bool shutDownDesktop(const std::string& startDirectory);

} // namespace corvid
