#include "search/move_ordering.h"

#include "platform/large_pages.h"
#include "search/exchange.h"

#include <cstring>

namespace corvid {

namespace {

// Piece gained by promoting, indexed by promotion code (queen, knight, rook, bishop).
constexpr int PromotionGain[4] = {884, 220, 422, 240};
// Every capture in a mixed list sorts ahead of every non-capture.
constexpr int CaptureBase = 500000000;
// History bonus grows with the square of the depth in plies, up to this many.
constexpr int MaxHistoryPlies = 11;

bool IsPromotion(const Position& p, Move move) {
    return TypeOf(p.board[MoveFrom(move)]) == Pawn && (SquareBB(MoveTo(move)) & PromotionRows);
}

int QuietKey(const MoveHistory& h, PieceCode piece, Move move, int prev1, int prev2) {
    int to = MoveTo(move);
    int key = h.mainHistory[HistoryGroup(piece)][move & 4095];
    if (prev1) key += h.continuation1[prev1][piece][to];
    if (prev2) key += h.continuation2[prev2][piece][to];
    return key;
}

void UpdateQuietHistory(MoveHistory& h, PieceCode piece, Move move, int prev1, int prev2,
                        int bonus) {
    int to = MoveTo(move);
    historyUpdate(h.mainHistory[HistoryGroup(piece)][move & 4095], bonus);
    if (!prev1) return;
    historyUpdate(h.continuation1[prev1][piece][to], bonus);
    if (prev2) historyUpdate(h.continuation2[prev2][piece][to], bonus);
}

} // namespace

void ClearHistory(MoveHistory& history) {
    adviseHugePages(&history, sizeof history);
    std::memset(&history, 0, sizeof history);
}

void historyUpdate(int16_t& entry, int bonus) {
    int h = entry;
    int magnitude = bonus < 0 ? -bonus : bonus;
    entry = int16_t(h + bonus - h * magnitude / 16384);
    // A reward that wrapped the 16-bit entry round to negative is halved.
    if (bonus > 0 && h >= 0 && entry < 0) entry = int16_t(entry >> 1);
}

bool IsQuietMove(const Position& p, Move move) {
    if (move == NoMove || IsMarker(move)) return false;
    return p.board[MoveTo(move)] == Empty && !IsPromotion(p, move);
}

int CaptureKey(const Position& p, Move move) {
    int gain = IsPromotion(p, move) ? PromotionGain[PromotionCode(move)] : 0;
    return (CapturedValue(p, MoveTo(move)) + gain) * 32 -
           PieceValue[TypeOf(p.board[MoveFrom(move)])];
}

void scoreCaptures(ScoredMoveList& list, const Position& p, int begin) {
    for (int i = begin; i < list.count; ++i) list.keys[i] = CaptureKey(p, list.moves[i]);
}

void scoreQuiets(ScoredMoveList& list, const Position& p, const MoveHistory& history, int prev1,
                 int prev2, int begin) {
    for (int i = begin; i < list.count; ++i) {
        Move move = list.moves[i];
        list.keys[i] = QuietKey(history, p.board[MoveFrom(move)], move, prev1, prev2);
    }
}

void scoreEvasions(ScoredMoveList& list, const Position& p, const MoveHistory& history, int prev1,
                   int begin) {
    for (int i = begin; i < list.count; ++i) {
        Move move = list.moves[i];
        PieceCode piece = p.board[MoveFrom(move)];
        if (p.board[MoveTo(move)] == Empty) {
            list.keys[i] = QuietKey(history, piece, move, prev1, 0);
            continue;
        }
        list.keys[i] = CaptureBase + CaptureKey(p, move);
    }
}

void SortMoves(ScoredMoveList& list, int begin, int end) {
    for (int i = begin + 1; i < end; ++i) {
        Move move = list.moves[i];
        int32_t key = list.keys[i];
        int j = i;
        for (; j > begin && list.keys[j - 1] < key; --j) {
            list.moves[j] = list.moves[j - 1];
            list.keys[j] = list.keys[j - 1];
        }
        list.moves[j] = move;
        list.keys[j] = key;
    }
}

namespace {

int FindFrom(const MoveList& list, Move move, int k) {
    if (move == NoMove) return -1;
    for (int i = k > 1 ? k : 1; i < list.count; ++i)
        if (list.moves[i] == move) return i;
    return -1;
}

} // namespace

bool moveToFront(MoveList& list, Move move, int k) {
    int at = FindFrom(list, move, k);
    if (at < 0) return false;
    for (int i = at; i > k; --i) list.moves[i] = list.moves[i - 1];
    list.moves[k] = move;
    return true;
}

bool moveToFront(ScoredMoveList& list, Move move, int k) {
    int at = FindFrom(list, move, k);
    if (at < 0) return false;
    int32_t key = list.keys[at];
    for (int i = at; i > k; --i) {
        list.moves[i] = list.moves[i - 1];
        list.keys[i] = list.keys[i - 1];
    }
    list.moves[k] = move;
    list.keys[k] = key;
    return true;
}

void updateKillers(Move killers[2], Move move) {
    if (move == NoMove || IsMarker(move) || move == killers[1]) return;
    killers[0] = killers[1];
    killers[1] = move;
}

void updateQuietStats(MoveHistory& history, Move killers[2], const Position& p, Move bestMove,
                      int depth, int ply, int prev1, int prev2, const Move* tried, int triedCount) {
    if (!IsQuietMove(p, bestMove)) return;
    updateKillers(killers, bestMove);
    if (ply > 0 && prev1 && !p.checkers) history.counterMoves[prev1] = bestMove;
    if (!prev1) prev2 = 0;

    int plies = depth / 2 < MaxHistoryPlies ? depth / 2 : MaxHistoryPlies;
    if (plies < 2) return;
    int bonus = plies * plies;
    UpdateQuietHistory(history, p.board[MoveFrom(bestMove)], bestMove, prev1, prev2, bonus + 1);
    for (int i = 0; i < triedCount; ++i) {
        Move move = tried[i];
        if (move == NoMove || move == bestMove || !IsQuietMove(p, move)) continue;
        UpdateQuietHistory(history, p.board[MoveFrom(move)], move, prev1, prev2, -bonus);
    }
}

} // namespace corvid
