#include "chess/eval_masks.h"

#include "chess/bitboard.h"

#include <algorithm>

namespace corvid {

Bitboard ForwardFile[2][64];
Bitboard PassedPawnSpan[2][64];
Bitboard AdjacentAhead[2][64];
Bitboard AdjacentLevelBehind[2][64];
Bitboard ForwardDiagonals[2][64];
Bitboard SideNeighbours[64];
Bitboard WideNeighbours[64];
Bitboard KingBlock[64];
Bitboard ShelterBlock[2][64];
Bitboard WideKingArea[2][64];
Bitboard WidestKingArea[2][64];

namespace {

// Squares with files in [fileLo, fileHi] and rows in [rowLo, rowHi], clipped to the board.
Bitboard Rectangle(int fileLo, int fileHi, int rowLo, int rowHi) {
    Bitboard b = 0;
    for (int row = std::max(rowLo, 0); row <= std::min(rowHi, 7); ++row)
        for (int file = std::max(fileLo, 0); file <= std::min(fileHi, 7); ++file)
            b |= SquareBB(MakeSquare(file, row));
    return b;
}

Bitboard Ray(int square, int fileStep, int rowStep) {
    Bitboard b = 0;
    int file = FileOf(square) + fileStep, row = RowOf(square) + rowStep;
    for (; file >= 0 && file < 8 && row >= 0 && row < 8; file += fileStep, row += rowStep)
        b |= SquareBB(MakeSquare(file, row));
    return b;
}

} // namespace

void InitEvalMasks() {
    for (int s = 0; s < 64; ++s) {
        int file = FileOf(s), row = RowOf(s);
        // White versions: "ahead" means smaller row numbers.
        ForwardFile[White][s] = Rectangle(file, file, 0, row - 1);
        PassedPawnSpan[White][s] = Rectangle(file - 1, file + 1, 0, row - 1);
        AdjacentAhead[White][s] = PassedPawnSpan[White][s] & ~ForwardFile[White][s];
        AdjacentLevelBehind[White][s] =
            Rectangle(file - 1, file + 1, row, 7) & ~Rectangle(file, file, 0, 7);
        ForwardDiagonals[White][s] = Ray(s, -1, -1) | Ray(s, 1, -1);
        SideNeighbours[s] = Rectangle(file - 1, file + 1, row, row) & ~SquareBB(s);
        WideNeighbours[s] = Rectangle(file - 2, file + 2, row, row) & ~SquareBB(s);
        int centre = MakeSquare(std::clamp(file, 1, 6), std::clamp(row, 1, 6));
        KingBlock[s] = KingAttacks[centre] | SquareBB(centre);
        int shelterFile = std::clamp(file, 1, 6);
        ShelterBlock[White][s] =
            row >= 4 ? Rectangle(shelterFile - 1, shelterFile + 1, row - 2, row) : 0;
        WideKingArea[White][s] = Rectangle(file - 2, file + 2, row - 3, row + 2);
        WidestKingArea[White][s] = Rectangle(file - 3, file + 3, row - 4, row + 3);
    }
    // Black: the White mask of the mirrored square, mirrored back.
    for (int s = 0; s < 64; ++s) {
        int m = MirrorSquare(s);
        ForwardFile[Black][s] = FlipRows(ForwardFile[White][m]);
        PassedPawnSpan[Black][s] = FlipRows(PassedPawnSpan[White][m]);
        AdjacentAhead[Black][s] = FlipRows(AdjacentAhead[White][m]);
        AdjacentLevelBehind[Black][s] = FlipRows(AdjacentLevelBehind[White][m]);
        ForwardDiagonals[Black][s] = FlipRows(ForwardDiagonals[White][m]);
        ShelterBlock[Black][s] = FlipRows(ShelterBlock[White][m]);
        WideKingArea[Black][s] = FlipRows(WideKingArea[White][m]);
        WidestKingArea[Black][s] = FlipRows(WidestKingArea[White][m]);
    }
}

} // namespace corvid
