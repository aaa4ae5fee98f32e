// The approximate static exchange test and the material tests built on it.
#pragma once

#include "chess/position.h"

namespace corvid {

// True when the exchange the move starts on its target square is judged to end at least
// threshold for the side to move (an approximation from the first attackers, not a full
// swap-off).
bool seeAtLeast(const Position& p, Move move, int threshold);

// The same for a piece of the given type imagined on square from (its real square, vacated,
// is emptied too); the side to move owns it.
bool seeAtLeastFrom(const Position& p, int moverType, int from, Bitboard vacated, int to,
                    int threshold);

// How many of the targets the piece standing on x attacks and could take with
// seeAtLeast(capture, 50).
int winningCapturesFrom(const Position& p, int x, Bitboard targets);
// The same for a piece of the given type imagined on x after leaving the vacated square.
int winningCapturesFrom(const Position& p, int moverType, int x, Bitboard vacated,
                        Bitboard targets);

// Quiescence delta test: can the move, with the captured value cv and a promotion, lift the
// evaluation e to the threshold? Under-promotions never can.
bool deltaWorthy(const Position& p, Move move, int e, int threshold, int cv);

// The value of an enemy piece on the square for the side to move; 0 for empty squares and own
// pieces.
inline int CapturedValue(const Position& p, int square) {
    PieceCode piece = p.board[square];
    if (piece == Empty || ColourOf(piece) == p.sideToMove) return 0;
    return PieceValue[TypeOf(piece)];
}

} // namespace corvid
