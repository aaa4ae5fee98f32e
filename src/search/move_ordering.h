// Move ordering: sort keys for captures, quiet moves and mixed lists, and the killer,
// counter-move and history tables that learn which quiet moves refute.
#pragma once

#include "chess/move_gen.h"

namespace corvid {

// A move list with one sort key per move beside it.
struct ScoredMoveList : MoveList {
    int32_t keys[256];
};

// Index of a move by its moving piece and target: piece code x 64 + to (0..1023).
constexpr int PieceTo(PieceCode piece, int to) { return piece * 64 + to; }

// The eight history groups: pawn, minor or rook, queen, king, for each colour.
constexpr int HistoryGroup(PieceCode piece) {
    constexpr int8_t Groups[16] = {0, 1, 1, 1, 2, 3, 0, 0, 4, 5, 5, 5, 6, 7, 0, 0};
    return Groups[piece & 15];
}

// What the search learns about quiet moves; cleared at the start of every root search.
struct MoveHistory {
    int16_t mainHistory[8][4096]; // [HistoryGroup][from + 64 x to]
    Move counterMoves[1024];      // by the previous move's PieceTo
    // [PieceTo one (two) plies earlier][moving piece][to]
    int16_t continuation1[1024][16][64];
    int16_t continuation2[1024][16][64];
};
void ClearHistory(MoveHistory& history);

// h += b - h x |b| / 16384, keeping entries within about +-16384.
void historyUpdate(int16_t& entry, int bonus);

// A move is quiet here when its target is empty and it is not a promotion (so en passant is
// quiet); 0 and markers are not.
bool IsQuietMove(const Position& p, Move move);

// MVV/LVA: (victim + promotion gain) x 32 - mover.
int CaptureKey(const Position& p, Move move);

// Fill the keys of list entries [begin, count).
void scoreCaptures(ScoredMoveList& list, const Position& p, int begin = 0);
void scoreQuiets(ScoredMoveList& list, const Position& p, const MoveHistory& history, int prev1,
                 int prev2, int begin = 0);
// Captures (and capture-promotions) ahead of every other move, which goes by history.
void scoreEvasions(ScoredMoveList& list, const Position& p, const MoveHistory& history, int prev1,
                   int begin = 0);

// Stable insertion sort of entries [begin, end) by descending key.
void SortMoves(ScoredMoveList& list, int begin, int end);

// Moves the move, when it stands at index k or later (and at index 1 or later), to index k,
// shifting the ones between one step back; returns whether it was found there.
bool moveToFront(MoveList& list, Move move, int k);
bool moveToFront(ScoredMoveList& list, Move move, int k);

// The killer rule: a new move pushes slot 1 into slot 0; the move already in slot 1 changes
// nothing.
void updateKillers(Move killers[2], Move move);

// Learning from a quiet best move (a cut-off, the move that raised alpha, or a table cut-off);
// never call it at a node with an excluded move. prev1 and prev2 are the PieceTo indices of
// the real moves one and two plies back (0 for none); tried are the moves searched before at
// this node (0 entries are passed over).
void updateQuietStats(MoveHistory& history, Move killers[2], const Position& p, Move bestMove,
                      int depth, int ply, int prev1, int prev2, const Move* tried, int triedCount);

} // namespace corvid
