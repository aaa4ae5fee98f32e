#include "search/mate_detection.h"

#include "chess/attacks.h"
#include "chess/make_move.h"
#include "chess/null_move.h"
#include "search/check_moves.h"

namespace corvid {

namespace {

int LegalEvasions(const Position& p, Move& only) {
    MoveList evasions;
    GenerateEvasions(p, evasions);
    int count = 0;
    for (int i = 0; i < evasions.count; ++i)
        if (IsLegal(p, evasions.moves[i])) {
            only = evasions.moves[i];
            ++count;
        }
    return count;
}

} // namespace

bool isMateMove(const Position& p, Move move, Bitboard newCheckers) {
    if (!newCheckers) return false;
    // The whole move, on a copy: en passant removes its victim, a promotion its pawn.
    Position after = p;
    UndoInfo undo;
    MakeMove(after, move, newCheckers, undo);
    int defender = after.sideToMove;
    Bitboard pinned = after.blockers[defender] & after.colourBB[defender];
    return QuickMateTest(after, after.checkers, pinned, defender);
}

bool isStillMating(const Position& p, int side, Move move) {
    Position work = p;
    if (side != p.sideToMove) {
        // The side to move must answer its check first; the other side cannot move now.
        if (p.checkers) return false;
        MakeNullMove(work);
    }
    if (!IsPseudoLegal(work, move, side, false)) return false;
    return isMateMove(work, move, GivesCheck(work, move, PrepareCheckSquares(work)));
}

int findMateMove(const Position& p, int plies, Move& move) {
    const int us = p.sideToMove;
    CheckSquares checkSquares = PrepareCheckSquares(p);
    MoveList checks;
    GenerateChecks(p, ~p.colourBB[us], checkSquares, checks);
    for (int i = 0; i < checks.count; ++i) {
        Move m = checks.moves[i];
        if (TypeOf(p.board[MoveFrom(m)]) == King || !IsLegal(p, m)) continue;
        // In check only a move that also answers the check is playable.
        if (p.checkers && !IsPseudoLegal(p, m, us, false)) continue;
        Bitboard newCheckers = GivesCheck(p, m, checkSquares);
        if (!newCheckers) continue;
        if (plies <= 1) {
            if (!isMateMove(p, m, newCheckers)) continue;
            move = m;
            return 1;
        }
        Position child = p;
        UndoInfo undo;
        MakeMove(child, m, newCheckers, undo);
        Move reply = NoMove;
        int replies = LegalEvasions(child, reply);
        if (replies == 0) {
            move = m;
            return 1;
        }
        if (replies > 1) continue;
        MakeMoveWithCheck(child, reply);
        Move next;
        if (int length = findMateMove(child, plies - 2, next)) {
            move = m;
            return length + 2;
        }
    }
    return 0;
}

int findMateThreat(const Position& p, int side, Move& move) {
    if (side == p.sideToMove) return findMateMove(p, 1, move);
    if (p.checkers) return 0;
    Position work = p;
    MakeNullMove(work);
    return findMateMove(work, 1, move);
}

} // namespace corvid
