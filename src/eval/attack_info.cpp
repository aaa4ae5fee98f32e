#include "eval/attack_info.h"

#include "chess/eval_masks.h"
#include "eval/eval_helpers.h"

namespace corvid {

namespace {

void BuildSide(SideAttackInfo& info, const Position& p, int us) {
    int them = us ^ 1;
    Bitboard kingAttacks = KingAttacks[p.kingSquare[us]];
    info.pawnAttacks = PawnAttackSet(us, p.Pieces(us, Pawn));
    info.allAttacks = info.pawnAttacks | kingAttacks;
    info.doubleAttacks = info.pawnAttacks & kingAttacks;
    info.knightAttacks = info.bishopAttacks = info.rookAttacks = info.queenAttacks = 0;
    info.pieceCount = 0;
    info.mobilitySum = 0;
    info.outpostFiles = 0;

    Bitboard occupied = p.occupied;
    Bitboard enemyKing = p.Pieces(them, King);
    Bitboard enemyQueens = p.Pieces(them, Queen);
    Bitboard backRank = RelativeRowMask(us, 0);
    Bitboard ownRooksUp = p.Pieces(us, Rook) & ~backRank;
    // Sliders see through the pieces that move along with them and through the enemy king
    // and heavier enemy pieces, so batteries and x-rays count.
    Bitboard bishopOcc = occupied & ~p.Pieces(us, Queen) & ~enemyKing & ~p.Straight(them);
    Bitboard rookOcc = occupied & ~(p.Straight(us) & ~backRank) & ~enemyKing & ~enemyQueens;
    Bitboard queenRookOcc = occupied & ~ownRooksUp & ~enemyKing;
    Bitboard queenBishopOcc = occupied & ~enemyKing;
    int king = p.kingSquare[us];
    Bitboard pinned = p.blockers[us] & p.colourBB[us];
    // The squares around the own king (not its own) that a guarding minor piece covers.
    Bitboard guardZone = KingBlock[king] & ~SquareBB(king);
    int minorGuards = 0;

    Bitboard pieces = p.colourBB[us] & ~p.pieceBB[Pawn] & ~p.pieceBB[King];
    while (pieces) {
        int s = PopLowest(pieces);
        int type = TypeOf(p.board[s]);
        bool isPinned = (pinned & SquareBB(s)) != 0;
        Bitboard attacks;
        switch (type) {
        case Knight:
            attacks = isPinned ? 0 : KnightAttacks[s];
            info.knightAttacks |= attacks;
            break;
        case Bishop:
            attacks = BishopAttacks(s, bishopOcc);
            if (isPinned) attacks &= LineMask[king][s];
            info.bishopAttacks |= attacks;
            break;
        case Rook:
            attacks = RookAttacks(s, rookOcc);
            if (isPinned) attacks &= LineMask[king][s];
            info.rookAttacks |= attacks;
            break;
        default:
            attacks = RookAttacks(s, queenRookOcc) | BishopAttacks(s, queenBishopOcc);
            if (isPinned) attacks &= LineMask[king][s];
            info.queenAttacks |= attacks;
            break;
        }
        info.doubleAttacks |= info.allAttacks & attacks;
        info.allAttacks |= attacks;
        if (info.pieceCount < MaxListedPieces) {
            info.pieces[info.pieceCount++] = {attacks, uint8_t(s), uint8_t(type), 0, 0};
            minorGuards += type <= Bishop && (attacks & guardZone) != 0;
        }
    }
    info.minorGuards = uint8_t(minorGuards);
    info.attacksBuilt = 1;
}

} // namespace

void buildAttackInfo(EvalDetail& detail, const Position& p) {
    BuildSide(detail.side[White], p, White);
    BuildSide(detail.side[Black], p, Black);
    for (int us = 0; us < 2; ++us) {
        int them = us ^ 1;
        SideAttackInfo& ours = detail.side[us];
        const SideAttackInfo& theirs = detail.side[them];
        ours.mobilityArea =
            ~p.colourBB[us] & ~theirs.pawnAttacks & ~(theirs.doubleAttacks & ~ours.doubleAttacks);
        ours.blockedPawns =
            p.Pieces(us, Pawn) & ShiftBackward(us, p.occupied) & ~theirs.pawnAttacks;
    }
}

} // namespace corvid
