// Playing a move on a position with every derived field updated incrementally.
#pragma once

#include "chess/piece_square_table.h"
#include "chess/position.h"
#include "chess/zobrist.h"

namespace corvid {

struct TranspositionTable;

enum MoveKind {
    NormalMove = 0,
    EnPassantMove = 1,
    CastleKingSide = 2,
    CastleQueenSide = 3,
    PromotionMove = 4
};

struct UndoInfo {
    int32_t captured; // Empty when none; for castling the own rook
    int32_t moved;
    int32_t moveKind;
};

// Puts newPiece on the square, updating key, pawnKey and the piece-square sums for the removed
// and the added piece (either may be Empty). The sets and counts are the caller's.
inline void SetSquare(Position& p, int square, PieceCode oldPiece, PieceCode newPiece) {
    p.board[square] = newPiece;
    uint64_t change = ZobristPiece[square][oldPiece] ^ ZobristPiece[square][newPiece];
    if (oldPiece == Empty) change = ZobristPiece[square][newPiece];
    if (newPiece == Empty) change = ZobristPiece[square][oldPiece];
    p.key ^= change;
    if (TypeOf(oldPiece) == Pawn) p.pawnKey ^= ZobristPiece[square][oldPiece];
    if (TypeOf(newPiece) == Pawn) p.pawnKey ^= ZobristPiece[square][newPiece];
    p.pstMg += pieceSquareTable[newPiece][square].mg - pieceSquareTable[oldPiece][square].mg;
    p.pstEg += pieceSquareTable[newPiece][square].eg - pieceSquareTable[oldPiece][square].eg;
}

// Plays a pseudo-legal move; newCheckers is GivesCheck's result for it. When a table is given,
// its bucket for the new key is fetched into the cache ahead of the next probe.
void MakeMove(Position& p, Move move, Bitboard newCheckers, UndoInfo& undo,
              const TranspositionTable* table = nullptr);
// Computes the checks the move gives, then plays it.
void MakeMoveWithCheck(Position& p, Move move);
void MakeMoveWithCheck(Position& p, Move move, UndoInfo& undo);

// Fetches the table bucket of the key into the cache (owned by the transposition table).
void PrefetchBucket(const TranspositionTable* table, uint64_t key);

} // namespace corvid
