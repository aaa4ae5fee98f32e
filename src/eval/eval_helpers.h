// Small bitboard and material helpers shared by the evaluation terms.
#pragma once

#include "chess/bitboard.h"
#include "chess/position.h"
#include "chess/score_pair.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

// One step toward the side's promotion row.
constexpr Bitboard ShiftForward(int colour, Bitboard b) {
    return colour == White ? b >> 8 : b << 8;
}
constexpr Bitboard ShiftBackward(int colour, Bitboard b) {
    return colour == White ? b << 8 : b >> 8;
}

constexpr Bitboard NotFileA = ~FileABB;
constexpr Bitboard NotFileH = ~FileHBB;

// Squares the pawns of the colour attack toward the left (file - 1) and the right (file + 1).
constexpr Bitboard PawnAttacksLeft(int colour, Bitboard pawns) {
    return colour == White ? (pawns & NotFileA) >> 9 : (pawns & NotFileA) << 7;
}
constexpr Bitboard PawnAttacksRight(int colour, Bitboard pawns) {
    return colour == White ? (pawns & NotFileH) >> 7 : (pawns & NotFileH) << 9;
}
constexpr Bitboard PawnAttackSet(int colour, Bitboard pawns) {
    return PawnAttacksLeft(colour, pawns) | PawnAttacksRight(colour, pawns);
}

// The side's row counted from its own back rank: 0 on the back rank, 7 on the promotion row.
constexpr int RelativeRow(int colour, int square) {
    return colour == White ? 7 - RowOf(square) : RowOf(square);
}
// Rows a pawn of the colour still has to go to promote.
constexpr int RowsToGo(int colour, int square) { return 7 - RelativeRow(colour, square); }
// A whole row as the side counts it (0 = its back rank).
constexpr Bitboard RelativeRowMask(int colour, int relativeRow) {
    return Bitboard{0xFF} << (8 * (colour == White ? 7 - relativeRow : relativeRow));
}

// The phase windows of the blends: piece-square and pawn terms, piece activity and king safety.
constexpr int PstPhaseLow = 1100, PstPhaseHigh = 2600;
constexpr int ActivityPhaseLow = 600, ActivityPhaseHigh = 1800;

// Linear blend between the endgame value (at or below `low`) and the middlegame value (at or
// above `high`), in steps of 1/128.
inline int InterpolatePhase(ScorePair pair, int phase, int low, int high) {
    if (phase <= low) return pair.eg;
    if (phase >= high) return pair.mg;
    int t = ((phase - low) * 128) / (high - low);
    return pair.eg + ((pair.mg - pair.eg) * t) / 128;
}

inline int NonPawnMaterial(const Position& p, int colour) {
    return p.material[colour] - 100 * p.pawnCount[colour];
}

inline int Distance(int a, int b) {
    return std::max(std::abs(FileOf(a) - FileOf(b)), std::abs(RowOf(a) - RowOf(b)));
}

// The side's castling rights as two bits: 1 king side, 2 queen side.
inline int SideCastleRights(const Position& p, int colour) {
    return (p.castleRights >> (2 * colour)) & 3;
}

// The rook side's bonus against a minor piece, smaller with few pawns.
inline int ExchangeBonus(int x, const Position& p) {
    int other = x ^ 1;
    int d = NonPawnMaterial(p, x) - NonPawnMaterial(p, other);
    int b = d == 202 ? 42 : d == 182 ? 34 : 0;
    if (p.pawnCount[x] <= 1)
        b /= 4;
    else if (p.pawnCount[x] == 2 && p.pawnCount[other] >= 2)
        b = (b * 3) / 4;
    return b;
}

} // namespace corvid
