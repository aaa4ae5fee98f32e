#include "chess/colour_mirror.h"

#include "chess/fen.h"

#include <cstdio>

namespace corvid {

int ColourMirrorFen(char* buffer, const Position& p) {
    uint8_t board[64];
    for (int square = 0; square < 64; ++square) {
        const PieceCode piece = p.board[MirrorSquare(square)];
        board[square] = piece == Empty ? Empty : MakePiece(ColourOf(piece) ^ 1, TypeOf(piece));
    }
    char* out = buffer + PiecePlacementToFen(buffer, board);
    out += std::sprintf(out, p.sideToMove == White ? " b " : " w ");
    // Right i of one side becomes right i ^ 2 of the other, on the same rook file.
    const char* start = out;
    for (int mirrored = 0; mirrored < 4; ++mirrored) {
        const int right = mirrored ^ 2;
        if (!(p.castleRights & (1 << right))) continue;
        const bool white = mirrored < 2;
        const int rook = p.castleInfo ? p.castleInfo->rookSquare[right] : NoSquare;
        if (rook < 64)
            *out++ = char((white ? 'A' : 'a') + FileOf(rook));
        else
            *out++ = "KQkq"[mirrored];
    }
    if (out == start) *out++ = '-';
    *out++ = ' ';
    if (p.epSquare < 64) {
        const int ep = MirrorSquare(p.epSquare);
        *out++ = char('a' + FileOf(ep));
        *out++ = char('8' - RowOf(ep));
    } else {
        *out++ = '-';
    }
    int clock = p.lastIrreversiblePly < p.ply ? p.ply - p.lastIrreversiblePly - 1 : 0;
    out += std::sprintf(out, " %d %d", clock, p.ply / 2 + 1);
    return int(out - buffer);
}

} // namespace corvid
