#include "search/check_moves.h"

#include "chess/attacks.h"
#include "chess/make_move.h"

#include <initializer_list>

namespace corvid {

namespace {

void AddTargets(MoveList& list, int from, Bitboard targets) {
    while (targets) list.Add(MakeMoveCode(from, PopLowest(targets)));
}

void AddPawnMove(MoveList& list, int from, int to) {
    if (!(SquareBB(to) & PromotionRows)) {
        list.Add(MakeMoveCode(from, to));
        return;
    }
    list.Add(MakeMoveCode(from, to, 0));
    list.Add(MakeMoveCode(from, to, 1));
    if (list.allPromotions) {
        list.Add(MakeMoveCode(from, to, 3));
        list.Add(MakeMoveCode(from, to, 2));
    }
}

// The pawn on from: its pushes and captures onto the allowed squares.
void AddPawnMovesFrom(const Position& p, MoveList& list, int from, Bitboard allowed) {
    int us = p.sideToMove;
    int push = PawnPush[us];
    int one = from + push;
    if (p.board[one] == Empty) {
        if (allowed & SquareBB(one)) AddPawnMove(list, from, one);
        int startRow = us == White ? 6 : 1;
        int two = one + push;
        if (RowOf(from) == startRow && p.board[two] == Empty && (allowed & SquareBB(two)))
            AddPawnMove(list, from, two);
    }
    Bitboard captures =
        PawnAttacks[us ^ 1][from] & allowed & (p.colourBB[us ^ 1] & ~p.pieceBB[King]);
    if (p.epSquare < 64) captures |= PawnAttacks[us ^ 1][from] & allowed & SquareBB(p.epSquare);
    while (captures) AddPawnMove(list, from, PopLowest(captures));
}

} // namespace

Bitboard PawnAttackSet(Bitboard pawns, int colour) {
    if (colour == White) return ((pawns & ~FileABB) >> 9) | ((pawns & ~FileHBB) >> 7);
    return ((pawns & ~FileHBB) << 9) | ((pawns & ~FileABB) << 7);
}

void GenerateChecks(const Position& p, Bitboard targets, const CheckSquares& cs, MoveList& list) {
    const int us = p.sideToMove, them = us ^ 1;
    const int king = p.kingSquare[them];
    const Bitboard own = p.colourBB[us];
    targets &= ~p.pieceBB[King] | ~p.colourBB[them];

    // Direct checks by pieces, strongest first.
    for (int type : {Queen, Rook, Bishop, Knight})
        for (Bitboard b = own & p.pieceBB[type]; b;) {
            int from = PopLowest(b);
            AddTargets(list, from,
                       PieceAttacks(type, us, from, p.occupied) & cs.bySquare[type] & targets);
        }
    // Direct pawn checks (never promotions: the pawn check squares lie off the last row), from
    // the pawns that a push, a double push or a capture takes onto a check square.
    Bitboard pawnTargets = cs.bySquare[Pawn] & targets;
    Bitboard oneBack = us == White ? pawnTargets << 8 : pawnTargets >> 8;
    Bitboard twoBack = us == White ? oneBack << 8 : oneBack >> 8;
    Bitboard reaching = oneBack | twoBack | PawnAttackSet(pawnTargets, them);
    for (Bitboard b = own & p.pieceBB[Pawn] & reaching; b;)
        AddPawnMovesFrom(p, list, PopLowest(b), pawnTargets);

    // Discovered checks: a piece of ours alone on a slider's line to the king steps off it.
    for (Bitboard b = p.blockers[them] & own; b;) {
        int from = PopLowest(b);
        int type = TypeOf(p.board[from]);
        Bitboard offLine = targets & ~LineMask[king][from];
        if (type == Pawn) {
            Bitboard direct = cs.bySquare[Pawn] & ~PromotionRows;
            AddPawnMovesFrom(p, list, from, offLine & ~direct);
        } else {
            Bitboard direct = type == King ? 0 : cs.bySquare[type];
            AddTargets(list, from, PieceAttacks(type, us, from, p.occupied) & offLine & ~direct);
        }
    }
}

int backRankSupport(const Position& p, int x) {
    int us = p.sideToMove;
    int enemyBackRow = us == White ? 0 : 7;
    if (RowOf(x) != enemyBackRow) return 0;
    Bitboard ownPawns = p.Pieces(us, Pawn);
    if (PawnAttacks[us][x] & ownPawns) return 2;
    int behind = x - PawnPush[us];
    return (PawnAttacks[us][behind] & ownPawns) ? 1 : 0;
}

int checkClass(const Position& p, Move move, int e, int threshold) {
    const int us = p.sideToMove, them = us ^ 1;
    Position after = p;
    MakeMoveWithCheck(after, move);
    const int king = after.kingSquare[them];
    Bitboard withoutKing = after.occupied ^ SquareBB(king);
    int flights = 0;
    for (Bitboard t = KingAttacks[king] & ~after.colourBB[them]; t;)
        if (!IsAttacked(after, PopLowest(t), us, withoutKing)) ++flights;
    if (flights == 0) return 3;

    if (e + PieceValue[Queen] >= threshold) {
        Bitboard chased = after.Pieces(them, Queen);
        if (e + PieceValue[Rook] >= threshold) chased |= after.Pieces(them, Rook);
        if (e + PieceValue[Bishop] >= threshold)
            chased |= after.Pieces(them, Bishop) | after.Pieces(them, Knight);
        int pieces = after.pieceCount[White] + after.pieceCount[Black];
        if (e + PieceValue[Pawn] >= threshold && pieces < 3) {
            Bitboard pawns = after.Pieces(them, Pawn);
            chased |= pawns & ~PawnAttackSet(pawns, them);
        }
        for (Bitboard c = after.checkers; c;) {
            int checker = PopLowest(c);
            int checkerValue = PieceValue[TypeOf(after.board[checker])];
            Bitboard hit =
                PieceAttacks(TypeOf(after.board[checker]), us, checker, after.occupied) & chased;
            while (hit) {
                int target = PopLowest(hit);
                bool defended = AttackersOf(after, target, them, true) != 0;
                if (PieceValue[TypeOf(after.board[target])] > checkerValue || !defended) return 2;
            }
        }
    }
    if (flights == 1) return 1;
    for (Bitboard c = after.checkers; c;) {
        int checker = PopLowest(c);
        int type = TypeOf(after.board[checker]);
        if ((type == Rook || type == Queen) && backRankSupport(p, checker)) return 1;
    }
    return 0;
}

void limitedEvasions(const Position& p, MoveList& list) {
    if (!p.checkers || MoreThanOne(p.checkers)) return;
    const int us = p.sideToMove, them = us ^ 1;
    const int king = p.kingSquare[us];
    const int checker = LowestSquare(p.checkers);
    Bitboard pinned = p.blockers[us] & p.colourBB[us];
    for (Bitboard b = AttackersOf(p, checker, us, false) & ~pinned; b;) {
        int from = PopLowest(b);
        if (TypeOf(p.board[from]) == Pawn)
            AddPawnMove(list, from, checker);
        else
            list.Add(MakeMoveCode(from, checker));
    }
    if (p.epSquare < 64 && checker == p.epSquare + PawnPush[them]) {
        for (Bitboard b = PawnAttacks[us][p.epSquare] & p.Pieces(us, Pawn) & ~pinned; b;) {
            Move move = MakeMoveCode(PopLowest(b), p.epSquare);
            if (IsLegal(p, move)) list.Add(move);
        }
    }
    // Judged with the king off its square, so that a line through it still defends.
    Bitboard withoutKing = p.occupied ^ SquareBB(king);
    for (Bitboard t = KingAttacks[king] & p.colourBB[them] & ~p.pieceBB[King]; t;) {
        int target = PopLowest(t);
        if (!IsAttacked(p, target, them, withoutKing)) list.Add(MakeMoveCode(king, target));
    }
}

} // namespace corvid
