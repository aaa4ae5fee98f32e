// The record one evaluation fills: both sides' attack pictures and the terms the evaluation
// breakdown shows.
#pragma once

#include "chess/score_pair.h"
#include "chess/types.h"

#include <cstdint>

namespace corvid {

constexpr int MaxListedPieces = 10;

struct ListedPiece {
    Bitboard attacks;
    uint8_t square;
    uint8_t type;
    // The piece's own activity and safety terms (before the piece weight), for the square
    // details of the desktop; they fit in the entry's padding.
    int16_t valueMg;
    int16_t valueEg;
};

// What one side attacks, built once per evaluation and read by every later term.
struct SideAttackInfo {
    Bitboard pawnAttacks;
    Bitboard bishopAttacks;
    Bitboard knightAttacks;
    Bitboard rookAttacks;
    Bitboard queenAttacks;
    Bitboard allAttacks;    // anything of the side, king included
    Bitboard doubleAttacks; // squares attacked at least twice
    uint8_t attacksBuilt;   // set once the sets above are filled
    Bitboard mobilityArea;
    Bitboard blockedPawns; // own pawns with an occupied stop square that no enemy pawn attacks
    int32_t pieceCount;    // entries in the piece list
    int32_t mobilitySum;   // knight, bishop and rook mobility values
    uint8_t outpostFiles;  // bit f: a minor piece on a defended outpost on file f
    uint8_t minorGuards;   // listed knights and bishops that attack the own king's block
    ListedPiece pieces[MaxListedPieces]; // knights, bishops, rooks and queens in square order
};

struct EvalDetail {
    SideAttackInfo side[2];
    // Breakdown, by colour: minor pieces, rooks and queens, rook and minor placement,
    // threats, king safety (one number, both halves), and the space term of White.
    ScorePair minorPieces[2];
    ScorePair rooksQueens[2];
    ScorePair placement[2];
    ScorePair threats[2];
    int32_t kingSafety[2];
    int32_t space;
    // Pawn structure totals and dynamic passed-pawn values, by colour.
    int32_t pawnStructure[2];
    int32_t passedPawns[2];
};

// Clears what every evaluation rebuilds: both sides' attack sets.
inline void ClearAttackFields(EvalDetail& detail) {
    for (SideAttackInfo& info : detail.side) {
        info.pawnAttacks = info.bishopAttacks = info.knightAttacks = 0;
        info.rookAttacks = info.queenAttacks = info.allAttacks = info.doubleAttacks = 0;
        info.attacksBuilt = 0;
    }
}

} // namespace corvid
