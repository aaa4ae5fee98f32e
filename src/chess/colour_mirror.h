// The colour mirror of a position: the same game with the colours exchanged.
#pragma once

#include "chess/position.h"

namespace corvid {

// Writes the mirror as FEN (NUL-terminated) and returns its length: every piece changes colour
// and moves to the mirrored rank, the other side is to move, White's and Black's castling
// rights change places and the en-passant square moves with its pawn. The castling rights are
// written by their rooks' files, so Chess960 rooks stay exact. The buffer needs room for 100
// characters.
int ColourMirrorFen(char* buffer, const Position& position);

} // namespace corvid
