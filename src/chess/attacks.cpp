#include "chess/attacks.h"

namespace corvid {

Bitboard AttackedSquares(const Position& p, int colour, bool includeKing, bool includePawns,
                         Bitboard pieceMask) {
    Bitboard own = p.colourBB[colour] & pieceMask;
    Bitboard occupancy = p.occupied & ~p.Pieces(colour ^ 1, King);
    Bitboard attacked = 0;
    if (includePawns) {
        Bitboard pawns = own & p.pieceBB[Pawn];
        if (colour == White)
            attacked |= ((pawns & ~FileMask[0]) >> 9) | ((pawns & ~FileMask[7]) >> 7);
        else
            attacked |= ((pawns & ~FileMask[7]) << 9) | ((pawns & ~FileMask[0]) << 7);
    }
    for (Bitboard b = own & p.pieceBB[Knight]; b;) attacked |= KnightAttacks[PopLowest(b)];
    for (Bitboard b = own & (p.pieceBB[Bishop] | p.pieceBB[Queen]); b;)
        attacked |= BishopAttacks(PopLowest(b), occupancy);
    for (Bitboard b = own & (p.pieceBB[Rook] | p.pieceBB[Queen]); b;)
        attacked |= RookAttacks(PopLowest(b), occupancy);
    if (includeKing)
        for (Bitboard b = own & p.pieceBB[King]; b;) attacked |= KingAttacks[PopLowest(b)];
    return attacked;
}

Bitboard BlockersFor(const Position& p, int square, int colour) {
    int enemy = colour ^ 1;
    Bitboard snipers =
        ((BishopPseudo[square] & p.Diagonal(enemy)) | (RookPseudo[square] & p.Straight(enemy)));
    Bitboard result = 0;
    while (snipers) {
        Bitboard between = BetweenMask[square][PopLowest(snipers)] & p.occupied;
        if (between && !MoreThanOne(between)) result |= between;
    }
    return result;
}

Bitboard EpExposesKing(const Position& p, int from, int to, int side) {
    int king = p.kingSquare[side];
    int victim = to - PawnPush[side];
    Bitboard occupancy = (p.occupied ^ SquareBB(from) ^ SquareBB(victim)) | SquareBB(to);
    int enemy = side ^ 1;
    return (RookAttacks(king, occupancy) & p.Straight(enemy)) |
           (BishopAttacks(king, occupancy) & p.Diagonal(enemy));
}

} // namespace corvid
