// "BOARDSET", the set-up panel of board set-up mode: the piece to place, the castling boxes and
// the side to move beside a board of its own; "Done" starts a new game from the position once
// the engine's FEN validation accepts it, "Cancel" returns to the game unchanged. The panel
// also shows the position as FEN and takes a FEN typed or pasted into that field.
#pragma once

#include "gui/logic/command_table.h"
#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

namespace boardset {
constexpr int Done = 1031, WhiteKingSide = 1032, WhiteQueenSide = 1033;
constexpr int BlackKingSide = 1034, BlackQueenSide = 1035;
constexpr int ClearBoard = 1036, StartBoard = 1037, Cancel = 1038;
constexpr int WhiteToMove = 150, BlackToMove = 151;
constexpr int FenField = 50030; // this program's own: the position as FEN
// The castling box of each right (1, 2, 4, 8 in that order).
constexpr int CastleBoxes[4] = {WhiteKingSide, WhiteQueenSide, BlackKingSide, BlackQueenSide};
} // namespace boardset

// Enters set-up mode: stops the search and puts the game's board, side to move and castling
// rights on the panel, with the white pawn to place.
void beginSetup(WindowState& state);
void setupClearBoard(WindowState& state);
// The standard start position (with its side to move and castling rights).
void setupStartBoard(WindowState& state);
// The panel's position as FEN: board, side to move, castling boxes, no en-passant square.
std::string setupFen(const WindowState& state);
// Takes a FEN onto the panel when the engine accepts it; otherwise the reason shows on the
// status line and the panel keeps its position.
bool setupFromFen(WindowState& state, const std::string& fen);
// "Done": the position goes through the engine's FEN validation. Accepted: a new game starts
// from it ("Position Pasted.") and set-up mode ends. Refused: the reason shows and set-up mode
// stays.
bool finishSetup(WindowState& state);
// "Cancel": set-up mode ends and the game shows its position at the current move.
void cancelSetup(WindowState& state);

// Command 46 (menu and key S): enters set-up mode, or leaves it as "Cancel" does.
void registerSetupCommands(CommandDispatcher& dispatcher, WindowState& state);

} // namespace corvid
