// Checking moves for the quiescence search and the mate finder: their generation, how
// dangerous a check is, and the few evasions a quiescence node in check looks at.
#pragma once

#include "chess/move_gen.h"

namespace corvid {

// Appends the side to move's checking moves to squares in targets, each once: queen, rook,
// bishop and knight moves onto their check squares, pawn moves onto the pawn check squares,
// then moves that leave a line between an own slider and the enemy king (discovered checks,
// king moves among them). Castling and promotions give check here only by discovery. The
// moves are pseudo-legal: callers test IsLegal.
void GenerateChecks(const Position& p, Bitboard targets, const CheckSquares& checkSquares,
                    MoveList& list);

// How dangerous the checking move is: 3 leaves the king no flight square; 2 also attacks a
// piece worth chasing (for the evaluation e against the threshold) that is worth more than
// the checker or undefended; 1 leaves exactly one flight square or is a rook or queen check
// supported on the back rank; else 0.
int checkClass(const Position& p, Move move, int e, int threshold);

// Captures of a single checker by unpinned pieces, and king captures of enemy pieces next to
// the king that stay undefended once the king has left its square. Nothing in double check.
void limitedEvasions(const Position& p, MoveList& list);

// 0 unless x is on the enemy's back rank; then 2 when an own pawn guards x, 1 when an own pawn
// guards the square just behind x, else 0 (own = the side to move).
int backRankSupport(const Position& p, int x);

// The squares a pawn of the colour attacks from the given pawn set.
Bitboard PawnAttackSet(Bitboard pawns, int colour);

} // namespace corvid
