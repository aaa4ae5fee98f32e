#include "chess/move_gen.h"

#include "chess/attacks.h"

namespace corvid {

namespace {

inline void AddPromotions(MoveList& list, int from, int to) {
    list.moves[list.count++] = MakeMoveCode(from, to, 0); // queen
    list.moves[list.count++] = MakeMoveCode(from, to, 1); // knight
    if (list.allPromotions) {
        list.moves[list.count++] = MakeMoveCode(from, to, 3); // bishop
        list.moves[list.count++] = MakeMoveCode(from, to, 2); // rook
    }
}

// One pawn batch with a fixed step: promotion targets first, each batch ascending.
inline void AddPawnBatch(MoveList& list, Bitboard targets, int fromOffset) {
    for (Bitboard b = targets & PromotionRows; b;) {
        int to = PopLowest(b);
        AddPromotions(list, to + fromOffset, to);
    }
    for (Bitboard b = targets & ~PromotionRows; b;) {
        int to = PopLowest(b);
        list.moves[list.count++] = MakeMoveCode(to + fromOffset, to);
    }
}

template <int Us>
void GeneratePawnMoves(const Position& p, MoveList& list, Bitboard pawns, Bitboard targetMask,
                       int pawnMode, bool includePromotionPushes) {
    if (pawnMode != PawnPushesOnly) {
        Bitboard targets = targetMask & p.colourBB[Us ^ 1];
        if (p.epSquare < 64) targets |= SquareBB(p.epSquare);
        if constexpr (Us == White) {
            AddPawnBatch(list, ((pawns & ~FileABB) >> 9) & targets, 9);
            AddPawnBatch(list, ((pawns & ~FileHBB) >> 7) & targets, 7);
        } else {
            AddPawnBatch(list, ((pawns & ~FileHBB) << 9) & targets, -9);
            AddPawnBatch(list, ((pawns & ~FileABB) << 7) & targets, -7);
        }
    }
    if (pawnMode != PawnCapturesOnly) {
        Bitboard empty = ~p.occupied;
        Bitboard single = (Us == White ? pawns >> 8 : pawns << 8) & empty;
        Bitboard singleTargets = single & targetMask;
        if (!includePromotionPushes) singleTargets &= ~PromotionRows;
        AddPawnBatch(list, singleTargets, Us == White ? 8 : -8);
        Bitboard doubles =
            (Us == White ? (single & RowMask[5]) >> 8 : (single & RowMask[2]) << 8) & empty;
        AddPawnBatch(list, doubles & targetMask, Us == White ? 16 : -16);
    }
}

template <int Us>
void GenerateFor(const Position& p, MoveList& list, Bitboard fromMask, Bitboard targetMask,
                 int pawnMode, bool includeKing, bool includePromotionPushes) {
    // The enemy king is never a capture target.
    targetMask &= ~p.Pieces(Us ^ 1, King);
    Bitboard own = p.colourBB[Us] & fromMask;
    if (Bitboard pawns = own & p.pieceBB[Pawn])
        GeneratePawnMoves<Us>(p, list, pawns, targetMask, pawnMode, includePromotionPushes);
    for (Bitboard b = own & p.pieceBB[Knight]; b;) {
        int from = PopLowest(b);
        for (Bitboard t = KnightAttacks[from] & targetMask; t;)
            list.moves[list.count++] = MakeMoveCode(from, PopLowest(t));
    }
    for (Bitboard b = own & p.pieceBB[Bishop]; b;) {
        int from = PopLowest(b);
        for (Bitboard t = BishopAttacks(from, p.occupied) & targetMask; t;)
            list.moves[list.count++] = MakeMoveCode(from, PopLowest(t));
    }
    for (Bitboard b = own & p.pieceBB[Rook]; b;) {
        int from = PopLowest(b);
        for (Bitboard t = RookAttacks(from, p.occupied) & targetMask; t;)
            list.moves[list.count++] = MakeMoveCode(from, PopLowest(t));
    }
    for (Bitboard b = own & p.pieceBB[Queen]; b;) {
        int from = PopLowest(b);
        for (Bitboard t = QueenAttacks(from, p.occupied) & targetMask; t;)
            list.moves[list.count++] = MakeMoveCode(from, PopLowest(t));
    }
    if (includeKing) {
        for (Bitboard b = own & p.pieceBB[King]; b;) {
            int from = PopLowest(b);
            for (Bitboard t = KingAttacks[from] & targetMask; t;)
                list.moves[list.count++] = MakeMoveCode(from, PopLowest(t));
        }
    }
}

} // namespace

void GenerateMoves(const Position& p, MoveList& list, Bitboard fromMask, Bitboard targetMask,
                   int pawnMode, bool includeKing, bool includePromotionPushes) {
    if (p.sideToMove == White)
        GenerateFor<White>(p, list, fromMask, targetMask, pawnMode, includeKing,
                           includePromotionPushes);
    else
        GenerateFor<Black>(p, list, fromMask, targetMask, pawnMode, includeKing,
                           includePromotionPushes);
}

void GenerateCastling(const Position& p, MoveList& list) {
    int us = p.sideToMove;
    if (!(p.castleRights & (3 << (2 * us))) || !p.castleInfo) return;
    const CastleInfo& info = *p.castleInfo;
    int king = p.kingSquare[us];
    for (int side = 0; side < 2; ++side) {
        int right = 2 * us + side;
        if (!(p.castleRights & (1 << right)) || (info.pathMask[right] & p.occupied)) continue;
        int rook = info.rookSquare[right];
        bool transitSafe = true;
        for (Bitboard b = BetweenMask[king][CastlingKingTarget(king, rook)]; b && transitSafe;)
            transitSafe = !IsAttacked(p, PopLowest(b), us ^ 1, p.occupied);
        if (transitSafe) list.moves[list.count++] = MakeMoveCode(king, rook);
    }
}

void GenerateEvasions(const Position& p, MoveList& list) {
    int us = p.sideToMove, them = us ^ 1;
    int king = p.kingSquare[us];
    Bitboard checkers = p.checkers;
    if (!MoreThanOne(checkers)) {
        int checker = LowestSquare(checkers);
        Bitboard capturers = AttackersOf(p, checker, us, false) & ~p.blockers[us];
        if (SquareBB(checker) & PromotionRows) {
            Bitboard pawnCapturers = capturers & p.pieceBB[Pawn];
            capturers ^= pawnCapturers;
            while (pawnCapturers) AddPromotions(list, PopLowest(pawnCapturers), checker);
        }
        while (capturers) list.moves[list.count++] = MakeMoveCode(PopLowest(capturers), checker);
        if (p.epSquare < 64 && checker == p.epSquare + PawnPush[them]) {
            Bitboard epPawns = PawnAttacks[us][p.epSquare] & p.Pieces(us, Pawn) & ~p.blockers[us];
            while (epPawns) list.moves[list.count++] = MakeMoveCode(PopLowest(epPawns), p.epSquare);
        }
        if (Bitboard between = BetweenMask[king][checker])
            GenerateMoves(p, list, p.colourBB[us] & ~p.blockers[us], between, PawnPushesOnly, false,
                          true);
    }
    // The attacked squares are computed with the own king off the board, so a slider's line
    // through the king counts.
    Bitboard attacked = AttackedSquares(p, them, true, true, ~Bitboard{0});
    for (Bitboard t = KingAttacks[king] & ~p.colourBB[us] & ~attacked; t;)
        list.moves[list.count++] = MakeMoveCode(king, PopLowest(t));
}

void GenerateAllMoves(const Position& p, MoveList& list) {
    if (p.checkers) {
        GenerateEvasions(p, list);
        return;
    }
    GenerateMoves(p, list, ~Bitboard{0}, ~p.colourBB[p.sideToMove], PawnBoth, true, true);
    GenerateCastling(p, list);
}

void GenerateLegalMoves(const Position& p, MoveList& list) {
    MoveList all;
    all.allPromotions = list.allPromotions;
    GenerateAllMoves(p, all);
    for (int i = 0; i < all.count; ++i)
        if (IsLegal(p, all.moves[i])) list.Add(all.moves[i]);
}

} // namespace corvid
