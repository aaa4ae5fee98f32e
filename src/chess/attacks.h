// Attack queries on a position: attackers of a square, attacked squares, line blockers.
#pragma once

#include "chess/position.h"

namespace corvid {

// That colour's pieces attacking the square under the given occupancy.
inline Bitboard AttackersUnder(const Position& p, int square, int colour, bool includeKing,
                               Bitboard occupancy) {
    Bitboard own = p.colourBB[colour];
    Bitboard attackers =
        (BishopAttacks(square, occupancy) & (p.pieceBB[Bishop] | p.pieceBB[Queen])) |
        (RookAttacks(square, occupancy) & (p.pieceBB[Rook] | p.pieceBB[Queen])) |
        (PawnAttacks[colour][square] & p.pieceBB[Pawn]) |
        (KnightAttacks[square] & p.pieceBB[Knight]);
    if (includeKing) attackers |= KingAttacks[square] & p.pieceBB[King];
    return attackers & own;
}

// That colour's pieces attacking the square under the current occupancy, ANDed with resultMask.
inline Bitboard AttackersOf(const Position& p, int square, int colour, bool includeKing,
                            Bitboard resultMask = ~Bitboard{0}) {
    return AttackersUnder(p, square, colour, includeKing, p.occupied) & resultMask;
}

inline bool IsAttacked(const Position& p, int square, int byColour, Bitboard occupancy) {
    return AttackersUnder(p, square, byColour, true, occupancy) != 0;
}

// All squares attacked by that colour's pieces in pieceMask; sliders see through the other
// colour's king.
Bitboard AttackedSquares(const Position& p, int colour, bool includeKing, bool includePawns,
                         Bitboard pieceMask);

// Pieces (any colour) standing alone between the square and a slider of the other colour.
Bitboard BlockersFor(const Position& p, int square, int colour);

// Non-empty when the en-passant capture from/to would leave side's king attacked along a line.
Bitboard EpExposesKing(const Position& p, int from, int to, int side);

} // namespace corvid
