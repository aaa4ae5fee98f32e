// Writing moves as text: the long form the game record stores (Ng1-f3, e7-e8=Q+), standard
// algebraic notation (Nf3, exd5, O-O) and the engine-protocol coordinate form (g1f3).
#pragma once

#include "chess/position.h"

#include <atomic>

namespace corvid {

enum MoveForm { LongForm = 0, SanForm = 1, CoordinateForm = 2 };

// Marker codes carried in the low bits of a move with MarkerBit set (display only).
constexpr int TableMarker = 1; // "<tt>": the line continues from the transposition table
constexpr int DrawMarker = 2;  // "<draw>"

// Per process: the UCI option "UCI_Chess960"; coordinate text then writes castling as king
// square to rook square. Set by the protocol, read by both threads.
extern std::atomic<bool> uciChess960;

// Room every FormatMove buffer needs.
constexpr int MoveTextBufferSize = 16;

// Writes the move (position = the one before it) in the form and returns the text length.
// Move 0 is "Null"; a move not playable here is "xx". The long form is padded with blanks to
// 7 characters; SAN ends with one blank.
int FormatMove(char* buffer, Move move, const Position& position, int form);
// The SAN body: piece letter, the from-file and/or rank that tell apart other legal moves of
// the same piece kind to the same square, 'x' for captures, the to-square.
int FormatSan(char* buffer, const Position& position, Move move);

} // namespace corvid
