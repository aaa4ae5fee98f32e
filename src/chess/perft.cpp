#include "chess/perft.h"

#include "chess/attacks.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"

namespace corvid {

namespace {

void GeneratePerftMoves(const Position& p, MoveList& list) {
    list.count = 0;
    list.allPromotions = 1;
    GenerateAllMoves(p, list);
}

inline uint64_t PawnTargetCount(Bitboard targets) {
    // A pawn reaching the last row makes four moves, one per promotion piece.
    return uint64_t(PopCount(targets & ~PromotionRows)) + 4u * PopCount(targets & PromotionRows);
}

uint64_t CountListed(const Position& p, MoveList& list) {
    uint64_t n = 0;
    for (int i = 0; i < list.count; ++i) n += IsLegal(p, list.moves[i]);
    return n;
}

// The number of legal moves, counted from the target sets without listing the moves: the last
// ply of a perft walk is most of its work. Unpinned pieces move anywhere in their targets, pinned
// sliders along the pin line; the rare cases (check, pinned pawns, en passant, castling) go
// through the ordinary generator and legality test.
uint64_t CountLegalMoves(const Position& p) {
    MoveList list;
    list.allPromotions = 1;
    if (p.checkers) {
        GenerateEvasions(p, list);
        return CountListed(p, list);
    }
    const int us = p.sideToMove, them = us ^ 1;
    const int king = p.kingSquare[us];
    const Bitboard own = p.colourBB[us];
    const Bitboard targets = ~own & ~p.Pieces(them, King);
    const Bitboard pinned = p.blockers[us] & own;
    uint64_t n = 0;

    for (Bitboard b = own & p.pieceBB[Knight] & ~pinned; b;)
        n += PopCount(KnightAttacks[PopLowest(b)] & targets);
    for (Bitboard b = p.Diagonal(us); b;) {
        int s = PopLowest(b);
        Bitboard t = BishopAttacks(s, p.occupied) & targets;
        if (pinned & SquareBB(s)) t &= LineMask[king][s];
        n += PopCount(t);
    }
    for (Bitboard b = p.Straight(us); b;) {
        int s = PopLowest(b);
        Bitboard t = RookAttacks(s, p.occupied) & targets;
        if (pinned & SquareBB(s)) t &= LineMask[king][s];
        n += PopCount(t);
    }
    for (Bitboard t = KingAttacks[king] & targets; t;)
        n += !IsAttacked(p, PopLowest(t), them, p.occupied);

    const Bitboard pawns = own & p.pieceBB[Pawn];
    const Bitboard free = pawns & ~pinned;
    const Bitboard empty = ~p.occupied;
    const Bitboard enemy = p.colourBB[them] & targets;
    if (us == White) {
        Bitboard single = (free >> 8) & empty;
        n += PawnTargetCount(single) + PopCount(((single & RowMask[5]) >> 8) & empty);
        n += PawnTargetCount(((free & ~FileABB) >> 9) & enemy);
        n += PawnTargetCount(((free & ~FileHBB) >> 7) & enemy);
    } else {
        Bitboard single = (free << 8) & empty;
        n += PawnTargetCount(single) + PopCount(((single & RowMask[2]) << 8) & empty);
        n += PawnTargetCount(((free & ~FileHBB) << 9) & enemy);
        n += PawnTargetCount(((free & ~FileABB) << 7) & enemy);
    }
    if (p.epSquare < 64)
        for (Bitboard b = PawnAttacks[us][p.epSquare] & free; b;)
            n += !EpExposesKing(p, PopLowest(b), p.epSquare, us);
    if (Bitboard pinnedPawns = pawns & pinned)
        GenerateMoves(p, list, pinnedPawns, ~own, PawnBoth, false, true);
    GenerateCastling(p, list);
    return n + CountListed(p, list);
}

struct NeverStopped {
    bool operator()() const { return false; }
};

// The walk below the root; a stop test that says true cuts every remaining subtree to 0.
template <class Stopped> uint64_t Walk(Position& p, int depth, const Stopped& stopped) {
    if (depth <= 0) return 1;
    // Bulk count: the last ply is never made.
    if (depth == 1) return CountLegalMoves(p);
    if (depth >= 3 && stopped()) return 0;
    MoveList list;
    GeneratePerftMoves(p, list);
    uint64_t nodes = 0;
    const Position saved = p;
    const CheckSquares checkSquares = PrepareCheckSquares(p);
    UndoInfo undo;
    for (int i = 0; i < list.count; ++i) {
        Move move = list.moves[i];
        if (!IsLegal(saved, move)) continue;
        MakeMove(p, move, GivesCheck(saved, move, checkSquares), undo);
        nodes += Walk(p, depth - 1, stopped);
        p = saved;
    }
    return nodes;
}

// The root moves in generation order, each counted and handed to done(move, leaves); false when
// a stop cut the count short (the unfinished move is not handed on).
template <class Stopped, class Done>
bool RootWalk(Position& p, int depth, const Stopped& stopped, const Done& done) {
    MoveList list;
    GeneratePerftMoves(p, list);
    const Position saved = p;
    for (int i = 0; i < list.count; ++i) {
        Move move = list.moves[i];
        if (!IsLegal(saved, move)) continue;
        MakeMoveWithCheck(p, move);
        uint64_t leaves = Walk(p, depth - 1, stopped);
        p = saved;
        if (stopped()) return false;
        done(move, leaves);
    }
    return true;
}

} // namespace

uint64_t Perft(Position& p, int depth) { return Walk(p, depth, NeverStopped()); }

PerftDivide PerftByMove(Position& p, int depth) {
    PerftDivide result;
    RootWalk(p, depth, NeverStopped(), [&](Move move, uint64_t leaves) {
        result.moves[result.count] = move;
        result.nodes[result.count++] = leaves;
        result.total += leaves;
    });
    return result;
}

bool PerftByMoveUntil(Position& p, int depth, const std::function<bool()>& stopped,
                      const std::function<void(Move, uint64_t)>& moveDone) {
    return RootWalk(p, depth, stopped, moveDone);
}

} // namespace corvid
