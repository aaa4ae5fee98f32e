// Check-giving, legality, validity and quick-mate tests.
#include "chess/attacks.h"
#include "chess/move_gen.h"

namespace corvid {

CheckSquares PrepareCheckSquares(const Position& p) {
    int us = p.sideToMove;
    int k = p.kingSquare[us ^ 1];
    CheckSquares cs;
    cs.bySquare[Pawn] = PawnAttacks[us][k];
    cs.bySquare[Knight] = KnightAttacks[k];
    cs.bySquare[Bishop] = BishopAttacks(k, p.occupied);
    cs.bySquare[Rook] = RookAttacks(k, p.occupied);
    cs.bySquare[Queen] = cs.bySquare[Bishop] | cs.bySquare[Rook];
    cs.bySquare[King] = 0;
    return cs;
}

Bitboard GivesCheck(const Position& p, Move move, const CheckSquares& cs) {
    int us = p.sideToMove, them = us ^ 1;
    int from = MoveFrom(move), to = MoveTo(move);
    int k = p.kingSquare[them];
    int type = TypeOf(p.board[from]);
    Bitboard result = 0;

    if (type == King && p.board[to] == MakePiece(us, Rook)) {
        // Castling: every slider line onto the enemy king from the final squares, which also
        // catches a rook check along the rank the king has just left.
        int kingTo = CastlingKingTarget(from, to), rookTo = CastlingRookTarget(from, to);
        Bitboard occupancy =
            (p.occupied ^ SquareBB(from) ^ SquareBB(to)) | SquareBB(kingTo) | SquareBB(rookTo);
        Bitboard rooks = (p.Straight(us) & ~SquareBB(to)) | SquareBB(rookTo);
        return (RookAttacks(k, occupancy) & rooks) | (BishopAttacks(k, occupancy) & p.Diagonal(us));
    }

    // Step 1. Direct check.
    if (type == Pawn && (SquareBB(to) & PromotionRows)) {
        int promoted = PromotionType(move);
        if (cs.bySquare[promoted] & SquareBB(to)) {
            result |= SquareBB(to);
        } else if (promoted != Knight && (cs.bySquare[promoted] & SquareBB(from)) &&
                   (LineMask[k][from] & SquareBB(to))) {
            // The pawn itself was the blocker of the promoted piece's line.
            result |= SquareBB(to);
        }
    } else if (cs.bySquare[type] & SquareBB(to)) {
        result |= SquareBB(to);
    }

    // Step 2. En passant: both pawns leave their squares.
    if (type == Pawn && to == p.epSquare) {
        int victim = to - PawnPush[us];
        Bitboard occupancy = (p.occupied ^ SquareBB(from) ^ SquareBB(victim)) | SquareBB(to);
        result |= (RookAttacks(k, occupancy) & p.Straight(us)) |
                  (BishopAttacks(k, occupancy) & p.Diagonal(us));
    }

    // Step 3. Discovered check.
    if ((p.blockers[them] & SquareBB(from)) && !(LineMask[k][from] & SquareBB(to))) {
        Bitboard beyond = RayBeyond[k][from] & p.occupied;
        if (beyond) result |= SquareBB(k < from ? LowestSquare(beyond) : HighestSquare(beyond));
    }
    return result;
}

bool IsLegal(const Position& p, Move move) {
    int us = p.sideToMove, them = us ^ 1;
    int from = MoveFrom(move), to = MoveTo(move);
    int king = p.kingSquare[us];
    if (from == king) {
        if (p.board[to] == MakePiece(us, Rook)) {
            // Castling: judge the king's square with both pieces on their final squares.
            int kingTo = CastlingKingTarget(from, to), rookTo = CastlingRookTarget(from, to);
            Bitboard occupancy =
                (p.occupied ^ SquareBB(from) ^ SquareBB(to)) | SquareBB(kingTo) | SquareBB(rookTo);
            return !IsAttacked(p, kingTo, them, occupancy);
        }
        // With the king off its square, a slider's line through it still counts.
        return !IsAttacked(p, to, them, p.occupied ^ SquareBB(from));
    }
    if ((p.blockers[us] & SquareBB(from)) && !(LineMask[king][from] & SquareBB(to))) return false;
    if (to == p.epSquare && p.board[from] == MakePiece(us, Pawn))
        return !EpExposesKing(p, from, to, us);
    return true;
}

bool IsPseudoLegal(const Position& p, Move move, int side, bool quietOnly) {
    if (move == NoMove || (move & 0xC000) || side != p.sideToMove) return false;
    int from = MoveFrom(move), to = MoveTo(move);
    PieceCode piece = p.board[from];
    if (piece == Empty || ColourOf(piece) != side) return false;
    int type = TypeOf(piece);
    bool promotionRow = (SquareBB(to) & PromotionRows) != 0;
    if (PromotionCode(move) != 0 && (type != Pawn || !promotionRow)) return false;

    if (type == King && p.board[to] == MakePiece(side, Rook)) {
        if (p.checkers) return false;
        MoveList castling;
        GenerateCastling(p, castling);
        for (int i = 0; i < castling.count; ++i)
            if (castling.moves[i] == move) return IsLegal(p, move);
        return false;
    }
    PieceCode target = p.board[to];
    if (target != Empty && ColourOf(target) == side) return false;
    if (quietOnly && target != Empty) return false;
    if (target != Empty && TypeOf(target) == King) return false;

    if (type == Pawn) {
        if (quietOnly && promotionRow) return false;
        int push = PawnPush[side];
        if (to == from + push) {
            if (target != Empty) return false;
        } else if (to == from + 2 * push) {
            int startRow = side == White ? 6 : 1;
            if (RowOf(from) != startRow || target != Empty || p.board[from + push] != Empty)
                return false;
        } else if (PawnAttacks[side ^ 1][from] & SquareBB(to)) {
            if (quietOnly) return false;
            if (target == Empty && to != p.epSquare) return false;
        } else {
            return false;
        }
    } else {
        if (!(PieceAttacks(type, side, from, p.occupied) & SquareBB(to))) return false;
    }

    // In check, a move from outside the generator must also answer the check.
    if (p.checkers && type != King) {
        if (MoreThanOne(p.checkers)) return false;
        int checker = LowestSquare(p.checkers);
        bool capturesChecker =
            to == checker || (type == Pawn && to == p.epSquare && checker == to - PawnPush[side]);
        if (!capturesChecker && !(BetweenMask[p.kingSquare[side]][checker] & SquareBB(to)))
            return false;
    }
    return IsLegal(p, move);
}

bool QuickMateTest(const Position& p, Bitboard checkers, Bitboard excluded, int side) {
    if (!checkers) return false;
    int them = side ^ 1;
    int king = p.kingSquare[side];
    Bitboard own = p.colourBB[side];
    Bitboard withoutKing = p.occupied ^ SquareBB(king);
    for (Bitboard t = KingAttacks[king] & ~own; t;)
        if (!IsAttacked(p, PopLowest(t), them, withoutKing)) return false;
    if (MoreThanOne(checkers)) return true;

    int checker = LowestSquare(checkers);
    Bitboard movers = own & ~excluded & ~p.pieceBB[King];
    if (AttackersOf(p, checker, side, false) & movers) return false;
    Bitboard ownPawns = movers & p.pieceBB[Pawn];
    if (p.epSquare < 64 && checker == p.epSquare + PawnPush[them] &&
        (PawnAttacks[side][p.epSquare] & ownPawns))
        return false;
    if (TypeOf(p.board[checker]) == Knight || (KingAttacks[king] & SquareBB(checker))) return true;
    Bitboard between = BetweenMask[king][checker];
    while (between) {
        int s = PopLowest(between);
        Bitboard sliders = (BishopAttacks(s, p.occupied) & (p.pieceBB[Bishop] | p.pieceBB[Queen])) |
                           (RookAttacks(s, p.occupied) & (p.pieceBB[Rook] | p.pieceBB[Queen])) |
                           (KnightAttacks[s] & p.pieceBB[Knight]);
        if (sliders & movers) return false;
        int behind = s - PawnPush[side];
        if (behind >= 0 && behind < 64) {
            if (ownPawns & SquareBB(behind)) return false;
            int startRow = side == White ? 6 : 1;
            int twoBehind = behind - PawnPush[side];
            if (p.board[behind] == Empty && twoBehind >= 0 && twoBehind < 64 &&
                RowOf(twoBehind) == startRow && (ownPawns & SquareBB(twoBehind)))
                return false;
        }
    }
    return true;
}

} // namespace corvid
