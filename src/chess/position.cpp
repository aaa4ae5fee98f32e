#include "chess/position.h"

#include "chess/attacks.h"
#include "chess/piece_square_table.h"
#include "chess/zobrist.h"

#include <cstring>

namespace corvid {

uint64_t ComputeKey(const Position& p) {
    uint64_t key = 0;
    for (Bitboard b = p.occupied; b;) {
        int s = PopLowest(b);
        key ^= ZobristPiece[s][p.board[s]];
    }
    key ^= ZobristCastle[p.castleRights];
    if (p.epSquare < 64) key ^= ZobristEp[p.epSquare];
    if (p.sideToMove == Black) key ^= ZobristSide;
    return key;
}

uint64_t ComputePawnKey(const Position& p) {
    uint64_t key = 0;
    for (Bitboard b = p.pieceBB[Pawn]; b;) {
        int s = PopLowest(b);
        key ^= ZobristPiece[s][p.board[s]];
    }
    return key;
}

Bitboard ComputeBlockers(const Position& p, int colour) {
    return BlockersFor(p, p.kingSquare[colour], colour);
}

void SetupDerived(Position& p) {
    std::memset(p.pieceBB, 0, sizeof p.pieceBB);
    std::memset(p.colourBB, 0, sizeof p.colourBB);
    for (int c = 0; c < 2; ++c) {
        p.pawnCount[c] = p.pieceCount[c] = p.minorCount[c] = 0;
        p.material[c] = 0;
    }
    p.pstMg = p.pstEg = 0;
    for (int s = 0; s < 64; ++s) {
        PieceCode piece = p.board[s];
        if (piece == Empty) continue;
        int type = TypeOf(piece), colour = ColourOf(piece);
        p.pieceBB[type] |= SquareBB(s);
        p.colourBB[colour] |= SquareBB(s);
        if (type != King) p.material[colour] = int16_t(p.material[colour] + PieceValue[type]);
        if (type == Pawn) {
            ++p.pawnCount[colour];
        } else if (type != King) {
            ++p.pieceCount[colour];
            if (type == Knight || type == Bishop) ++p.minorCount[colour];
        }
        p.pstMg += pieceSquareTable[piece][s].mg;
        p.pstEg += pieceSquareTable[piece][s].eg;
    }
    for (int c = 0; c < 2; ++c) {
        Bitboard kings = p.Pieces(c, King);
        p.kingSquare[c] = uint8_t(kings ? LowestSquare(kings) : 0);
    }
    p.occupied = p.colourBB[White] | p.colourBB[Black];
    int us = p.sideToMove;
    p.checkers = p.Pieces(us, King) ? AttackersOf(p, p.kingSquare[us], us ^ 1, false) : 0;
    p.key = ComputeKey(p);
    p.pawnKey = ComputePawnKey(p);
    for (int c = 0; c < 2; ++c) p.blockers[c] = p.Pieces(c, King) ? ComputeBlockers(p, c) : 0;
}

void ClearPosition(Position& p) {
    std::memset(p.board, Empty, sizeof p.board);
    p.epSquare = NoSquare;
    p.ply = p.lastIrreversiblePly = 0;
    p.sideToMove = White;
    SetupDerived(p);
}

} // namespace corvid
