#include "eval/pawnless_eval.h"

#include "chess/bitboard.h"
#include "chess/piece_square_table.h"
#include "eval/bitbase_index.h"
#include "eval/endgame_tables.h"

#include <algorithm>
#include <cstdlib>

namespace corvid {

namespace {

int kingDistance(int a, int b) {
    return std::max(std::abs(FileOf(a) - FileOf(b)), std::abs(RowOf(a) - RowOf(b)));
}

// The king endgame grid, read at the square itself for either colour.
int kingTable(int square) { return pieceSquareTable[MakePiece(White, King)][square].eg; }

// The score from the stronger side's view.
int strongSideScore(const Position& p, int s) {
    int w = 1 - s;
    int diff = p.material[s] - p.material[w];
    int strongKing = p.kingSquare[s], weakKing = p.kingSquare[w];
    int distance = kingDistance(strongKing, weakKing);

    if (p.pieceCount[s] <= 1 && p.minorCount[s] == p.pieceCount[s]) return 0;
    if (p.material[s] == 2 * PieceValue[Knight]) return 1;

    if (p.pieceCount[w] == 0) {
        int v;
        bool bishopAndKnight = p.pieceCount[s] == 2 && p.Pieces(s, Bishop) && p.Pieces(s, Knight);
        if (bishopAndKnight) {
            bool lightBishop = (p.Pieces(s, Bishop) & LightSquares) != 0;
            int corner = lightBishop ? weakKing : MirrorFile(weakKing);
            v = 100 + diff + 2 * BishopKnightCorner[corner];
        } else {
            v = 500 + diff + 8 * BareKingEdge[weakKing];
        }
        return v - 4 * std::max(distance - 2, 0);
    }

    bool loneQueen = p.pieceCount[s] == 1 && p.Pieces(s, Queen);
    if (loneQueen && p.material[w] <= PieceValue[Rook]) {
        int piece = LowestSquare(p.colourBB[w] & ~p.pieceBB[King]);
        return diff + 300 + 4 * (kingDistance(weakKing, piece) - distance) - kingTable(weakKing);
    }

    int v = diff;
    if (diff > 501 && p.pieceCount[w] == 1) v += 200;
    if (diff > 50) {
        v += 16 - 16 * distance;
        if (EdgeCloseness[strongKing] >= EdgeCloseness[weakKing] && EdgeCloseness[strongKing] >= -1)
            v += 16;
        v += 16 * BareKingEdge[weakKing];
    }
    if (diff >= 1) {
        if (diff < 400 && p.pieceCount[s] <= 2 && p.pieceCount[s] == p.pieceCount[w] + 1) {
            bool quarter = p.material[s] == 862 || p.material[s] > 984 || diff == 360;
            v = quarter ? v / 4 : v / 8;
        } else if (p.pieceCount[s] == 2 && p.pieceCount[w] == 2 && diff < 203) {
            v /= 4;
        } else if (p.pieceCount[s] == 1 && p.Pieces(s, Rook) && p.pieceCount[w] == 1) {
            if (p.Pieces(w, Knight))
                v += 16 * kingDistance(weakKing, LowestSquare(p.Pieces(w, Knight)));
            v /= 4;
        } else if (loneQueen && (p.material[w] == 862 || p.material[w] == 842)) {
            v /= 2;
        }
    }
    if (diff < 21 && p.material[White] != PieceValue[Rook] &&
        p.material[White] != PieceValue[Queen])
        v = (s == White ? p.pstEg : -p.pstEg) / 4;
    return v;
}

} // namespace

int32_t pawnlessEval(const Position& position, int side) {
    // The stronger side by material; White when both are equal (the score is symmetric then).
    int s = position.material[Black] > position.material[White] ? Black : White;
    int score = strongSideScore(position, s);
    return s == side ? score : -score;
}

} // namespace corvid
