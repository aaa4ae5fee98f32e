// The staged move picker of a search node: the table move, good captures, killers and the
// counter move, quiet moves by history, then the captures that lose material. Each stage is
// generated only when the earlier ones have not ended the node.
#pragma once

#include "search/move_ordering.h"

namespace corvid {

enum class Stage : uint8_t {
    HashMove = 0,
    Captures = 1,    // captures and promotions that pass the exchange test
    Refutations = 2, // killer slot 1, killer slot 0, counter move
    Quiets = 3,      // castling and quiet moves by history
    BadCaptures = 4, // captures deferred by the exchange test, in the order met
    Evasions = 5,    // the only stage of a node in check
    Done = 6,
};

struct MovePicker {
    const Position* position;
    const MoveHistory* history;
    const Move* killers; // the node's two killer slots, read when their stage comes
    Move ttMove;
    Move excludedMove;
    int prev1, prev2;
    Stage stage;     // the stage being walked
    Stage moveStage; // the stage of the move last returned
    bool ttMoveReturned;
    bool stageReady; // the capture stage's list is generated
    int evasionCount;
    int current, end; // the part of the list being walked
    int captureEnd;   // captures occupy [0, captureEnd), quiet moves follow
    int badCount;     // deferred captures, kept at the front of the list
    int refutationCount;
    Move refutations[3];
    ScoredMoveList list;
};

// Prepares the picker for a node. killers points at the node's two slots (slot 1 newest) and
// is read when the refutation stage starts (and at once in check); prev1 and prev2 as in
// updateQuietStats. In check the node's moves are its evasions, hash move first, killer slot 1
// second.
void InitMovePicker(MovePicker& picker, const Position& p, const MoveHistory& history,
                    const Move* killers, Move ttMove, Move excludedMove, int prev1, int prev2);

// The next legal move in stage order, or 0 when the node has none left; picker.moveStage
// names its stage. Each legal move comes out exactly once; the excluded move never does.
Move NextMove(MovePicker& picker);

// Brings the move, if the current stage still holds it, to the front so it comes out next.
// (A quiet move met during the first two stages is not in their lists; making it killer
// slot 1 puts it first in the refutation stage instead.)
bool PromoteNextMove(MovePicker& picker, Move move);

} // namespace corvid
