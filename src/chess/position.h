// The board representation: a plain fixed-size value that is copied to save and copied back
// to take a move back (there is no unmake).
#pragma once

#include "chess/bitboard.h"
#include "chess/types.h"

#include <cstddef>

namespace corvid {

// Castling rights bits and the index of each right in CastleInfo.
constexpr int WhiteKingSide = 1, WhiteQueenSide = 2, BlackKingSide = 4, BlackQueenSide = 8;

// One per game, shared by every copy of its positions.
struct CastleInfo {
    uint8_t rookSquare[4] = {NoSquare, NoSquare, NoSquare, NoSquare}; // K, Q, k, q
    Bitboard pathMask[4] = {};
    Bitboard castleSquares = 0;
};

struct Position {
    uint8_t board[64];
    Bitboard pieceBB[6];
    Bitboard colourBB[2];
    Bitboard occupied;
    uint64_t key;
    uint64_t pawnKey;
    int32_t sideToMove;
    uint8_t kingSquare[2];
    uint8_t castleRights;
    uint8_t epSquare;
    uint8_t pawnCount[2];
    uint8_t pieceCount[2];
    uint8_t minorCount[2];
    int16_t material[2];
    int32_t pstMg;
    int32_t pstEg;
    uint16_t ply;
    uint16_t lastIrreversiblePly;
    CastleInfo* castleInfo;
    Bitboard checkers;
    Bitboard blockers[2];

    Bitboard Pieces(int colour, int type) const { return pieceBB[type] & colourBB[colour]; }
    Bitboard Pieces(int colour) const { return colourBB[colour]; }
    Bitboard Diagonal(int colour) const {
        return (pieceBB[Bishop] | pieceBB[Queen]) & colourBB[colour];
    }
    Bitboard Straight(int colour) const {
        return (pieceBB[Rook] | pieceBB[Queen]) & colourBB[colour];
    }
};

constexpr const char* StartFen = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

// Recomputes every derived field from board, sideToMove, castleRights and epSquare.
void SetupDerived(Position& position);
// Empty board, white to move, no en passant; castling rights and castleInfo are kept.
void ClearPosition(Position& position);
uint64_t ComputeKey(const Position& position);
uint64_t ComputePawnKey(const Position& position);
// Pieces of either colour standing alone between the king of `colour` and an enemy slider.
Bitboard ComputeBlockers(const Position& position, int colour);
// Checks the king placement, the material and the castling rights; rebuilds the game's
// CastleInfo. On failure *error (when given) names the reason and nothing in the caller's
// CastleInfo changes.
bool ValidatePosition(Position& position, const char** error = nullptr);
// The same, with the castling rook of each right named by file (-1: the outermost rook).
bool ValidatePosition(Position& position, const int8_t requestedRookFile[4], const char** error);

} // namespace corvid
