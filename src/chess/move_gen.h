// Pseudo-legal move generation in the groups the move picker asks for, check evasions, castling,
// and the legality, validity, check-giving and quick-mate tests.
#pragma once

#include "chess/position.h"

namespace corvid {

struct MoveList {
    int32_t count = 0;
    // 0: promotions to queen and knight only; 1: also bishop and rook.
    uint8_t allPromotions = 0;
    Move moves[256]; // no position has more than 218 legal moves

    void Add(Move move) { moves[count++] = move; }
};

enum PawnMode { PawnCapturesOnly = 0, PawnPushesOnly = 1, PawnBoth = 2 };

// Appends moves of own pieces in fromMask to squares in targetMask.
void GenerateMoves(const Position& p, MoveList& list, Bitboard fromMask, Bitboard targetMask,
                   int pawnMode, bool includeKing, bool includePromotionPushes);
// Appends the castling moves available (king side first); callers in check use evasions.
void GenerateCastling(const Position& p, MoveList& list);
// Appends check evasions; only when checkers is not empty.
void GenerateEvasions(const Position& p, MoveList& list);
// Every pseudo-legal move (evasions when in check), as perft, the book and game code use them.
void GenerateAllMoves(const Position& p, MoveList& list);
// Only the legal moves.
void GenerateLegalMoves(const Position& p, MoveList& list);

// The squares from which each piece type of the side to move would check the enemy king.
struct CheckSquares {
    Bitboard bySquare[6];
};
CheckSquares PrepareCheckSquares(const Position& p);

// The pieces that will give check after the move (the new position's checkers).
Bitboard GivesCheck(const Position& p, Move move, const CheckSquares& checkSquares);
// A pseudo-legal move that does not leave the own king attacked.
bool IsLegal(const Position& p, Move move);
// A move from outside the generator (table, killers, book, user) that is playable, and legal.
bool IsPseudoLegal(const Position& p, Move move, int side, bool quietOnly);
// A move read from a stored line (table, search line, pasted line) that may be played here:
// a real move, legal for the side to move.
inline bool IsPlayable(const Position& p, Move move) {
    return move != NoMove && !IsMarker(move) && IsPseudoLegal(p, move, p.sideToMove, false);
}
// The side, in check, has no way out (excluded pieces may not move).
bool QuickMateTest(const Position& p, Bitboard checkers, Bitboard excluded, int side);

// True when the king move is castling (the target holds the own rook).
inline bool IsCastling(const Position& p, Move move) {
    return p.board[MoveFrom(move)] == MakePiece(p.sideToMove, King) &&
           p.board[MoveTo(move)] == MakePiece(p.sideToMove, Rook);
}

// The king's destination square of a castling move.
inline int CastlingKingTarget(int kingFrom, int rookFrom) {
    return (kingFrom & 56) + (rookFrom > kingFrom ? 6 : 2);
}
inline int CastlingRookTarget(int kingFrom, int rookFrom) {
    return (kingFrom & 56) + (rookFrom > kingFrom ? 5 : 3);
}

} // namespace corvid
