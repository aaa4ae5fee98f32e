#include "search/move_picker.h"

#include "search/exchange.h"

namespace corvid {

namespace {

// Captures that lose more than this by the exchange test wait until after the quiet moves.
constexpr int BadCaptureMargin = -21;

void GenerateCaptureStage(MovePicker& mp) {
    const Position& p = *mp.position;
    int us = p.sideToMove;
    mp.list.count = 0;
    GenerateMoves(p, mp.list, ~Bitboard{0}, p.colourBB[us ^ 1], PawnCapturesOnly, true, true);
    GenerateMoves(p, mp.list, p.Pieces(us, Pawn), PromotionRows, PawnPushesOnly, false, true);
    scoreCaptures(mp.list, p);
    SortMoves(mp.list, 0, mp.list.count);
    mp.current = 0;
    mp.end = mp.captureEnd = mp.list.count;
    mp.badCount = 0;
}

void GenerateRefutationStage(MovePicker& mp) {
    const Position& p = *mp.position;
    Move candidates[3] = {mp.killers[1], mp.killers[0], NoMove};
    if (mp.prev1) candidates[2] = mp.history->counterMoves[mp.prev1];
    mp.refutationCount = 0;
    for (Move move : candidates) {
        if (move == NoMove || move == mp.excludedMove || (mp.ttMoveReturned && move == mp.ttMove))
            continue;
        bool listed = false;
        for (int i = 0; i < mp.refutationCount; ++i) listed |= mp.refutations[i] == move;
        if (!listed && IsPseudoLegal(p, move, p.sideToMove, true))
            mp.refutations[mp.refutationCount++] = move;
    }
    mp.current = 0;
    mp.end = mp.refutationCount;
}

void GenerateQuietStage(MovePicker& mp) {
    const Position& p = *mp.position;
    mp.list.count = mp.captureEnd;
    GenerateCastling(p, mp.list);
    GenerateMoves(p, mp.list, ~Bitboard{0}, ~p.occupied, PawnPushesOnly, true, false);
    scoreQuiets(mp.list, p, *mp.history, mp.prev1, mp.prev2, mp.captureEnd);
    SortMoves(mp.list, mp.captureEnd, mp.list.count);
    mp.current = mp.captureEnd;
    mp.end = mp.list.count;
}

void GenerateEvasionStage(MovePicker& mp) {
    const Position& p = *mp.position;
    mp.list.count = 0;
    GenerateEvasions(p, mp.list);
    scoreEvasions(mp.list, p, *mp.history, mp.prev1);
    SortMoves(mp.list, 0, mp.list.count);
    moveToFront(mp.list, mp.killers[1], 0);
    moveToFront(mp.list, mp.ttMove, 0);
    mp.evasionCount = mp.list.count;
    mp.current = 0;
    mp.end = mp.list.count;
}

bool IsRefutation(const MovePicker& mp, Move move) {
    for (int i = 0; i < mp.refutationCount; ++i)
        if (mp.refutations[i] == move) return true;
    return false;
}

// Moves already returned by an earlier stage, or excluded from the node.
bool Skipped(const MovePicker& mp, Move move) {
    return move == mp.excludedMove || (mp.ttMoveReturned && move == mp.ttMove);
}

} // namespace

void InitMovePicker(MovePicker& mp, const Position& p, const MoveHistory& history,
                    const Move* killers, Move ttMove, Move excludedMove, int prev1, int prev2) {
    mp.position = &p;
    mp.history = &history;
    mp.killers = killers;
    mp.ttMove = ttMove;
    mp.excludedMove = excludedMove;
    mp.prev1 = prev1;
    mp.prev2 = prev2;
    mp.moveStage = Stage::HashMove;
    mp.ttMoveReturned = false;
    mp.stageReady = false;
    mp.evasionCount = 0;
    mp.current = mp.end = mp.captureEnd = mp.badCount = mp.refutationCount = 0;
    mp.list.count = 0;
    mp.list.allPromotions = 0; // queen and knight promotions only
    if (p.checkers) {
        mp.stage = Stage::Evasions;
        GenerateEvasionStage(mp);
    } else {
        mp.stage = Stage::HashMove;
    }
}

Move NextMove(MovePicker& mp) {
    const Position& p = *mp.position;
    switch (mp.stage) {
    case Stage::HashMove:
        mp.stage = Stage::Captures;
        mp.stageReady = false;
        if (mp.ttMove != mp.excludedMove && IsPseudoLegal(p, mp.ttMove, p.sideToMove, false)) {
            mp.ttMoveReturned = true;
            mp.moveStage = Stage::HashMove;
            return mp.ttMove;
        }
        [[fallthrough]];
    case Stage::Captures:
        // Generated only once the hash move has failed to end the node.
        if (!mp.stageReady) {
            GenerateCaptureStage(mp);
            mp.stageReady = true;
        }
        while (mp.current < mp.end) {
            Move move = mp.list.moves[mp.current++];
            if (Skipped(mp, move) || !IsLegal(p, move)) continue;
            if (!seeAtLeast(p, move, BadCaptureMargin)) {
                mp.list.moves[mp.badCount++] = move;
                continue;
            }
            mp.moveStage = Stage::Captures;
            return move;
        }
        mp.stage = Stage::Refutations;
        GenerateRefutationStage(mp);
        [[fallthrough]];
    case Stage::Refutations:
        if (mp.current < mp.end) {
            mp.moveStage = Stage::Refutations;
            return mp.refutations[mp.current++];
        }
        mp.stage = Stage::Quiets;
        GenerateQuietStage(mp);
        [[fallthrough]];
    case Stage::Quiets:
        while (mp.current < mp.end) {
            Move move = mp.list.moves[mp.current++];
            if (Skipped(mp, move) || IsRefutation(mp, move) || !IsLegal(p, move)) continue;
            mp.moveStage = Stage::Quiets;
            return move;
        }
        mp.stage = Stage::BadCaptures;
        mp.current = 0;
        mp.end = mp.badCount;
        [[fallthrough]];
    case Stage::BadCaptures:
        if (mp.current < mp.end) {
            mp.moveStage = Stage::BadCaptures;
            return mp.list.moves[mp.current++];
        }
        mp.stage = Stage::Done;
        return NoMove;
    case Stage::Evasions:
        while (mp.current < mp.end) {
            Move move = mp.list.moves[mp.current++];
            if (move == mp.excludedMove) continue;
            mp.moveStage = Stage::Evasions;
            return move;
        }
        mp.stage = Stage::Done;
        return NoMove;
    case Stage::Done:
        break;
    }
    return NoMove;
}

bool PromoteNextMove(MovePicker& mp, Move move) {
    if (move == NoMove || mp.current >= mp.end) return false;
    if (mp.stage == Stage::Refutations) {
        for (int i = mp.current; i < mp.end; ++i) {
            if (mp.refutations[i] != move) continue;
            for (int j = i; j > mp.current; --j) mp.refutations[j] = mp.refutations[j - 1];
            mp.refutations[mp.current] = move;
            return true;
        }
        return false;
    }
    if (mp.stage == Stage::HashMove || mp.stage == Stage::Done) return false;
    for (int i = mp.current; i < mp.end; ++i) {
        if (mp.list.moves[i] != move) continue;
        for (int j = i; j > mp.current; --j) {
            mp.list.moves[j] = mp.list.moves[j - 1];
            mp.list.keys[j] = mp.list.keys[j - 1];
        }
        mp.list.moves[mp.current] = move;
        return true;
    }
    return false;
}

} // namespace corvid
