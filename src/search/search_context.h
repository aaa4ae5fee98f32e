// The state of one search: the working position, the per-ply stack, the counters, the root
// fields and the search's own copy of the game's position keys. Engine control sets it up
// before each root search; the protocol output and the desktop read it.
#pragma once

#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "chess/position.h"
#include "eval/search_personality.h"
#include "search/move_ordering.h"
#include "search/score.h"
#include "search/search_constants.h"
#include "search/transposition_table.h"

#include <atomic>
#include <cstdint>

namespace corvid {

// Plies of game the key history holds below the search, and the deepest search line above it.
constexpr int MaxGamePlies = 4096;
constexpr int MaxSearchPly = StackSize + 52;
constexpr int KeyHistorySize = MaxGamePlies + MaxSearchPly;

// Markers that stand in a line where no real move applies.
constexpr Move TableLineEnd = Move(MarkerBit | TableMarker); // the line ends in a table hit
constexpr Move DrawLineEnd = Move(MarkerBit | DrawMarker);

// Node types.
constexpr int PvNode = 0, CutNode = 1, AllNode = 2;

struct PlyRecord {
    Move killers[2];      // slot 1 newest
    Move mateThreat;      // a mate the side not to move here threatens (set by the parent)
    Move excludedMove;    // singular and alternative-move searches
    int32_t move;         // the move made from this ply (0: none or a null move)
    int32_t movedPiece;   // its piece, Empty when none
    int32_t capturedType; // type it captured, 6 when none
    int32_t pieceTo;      // its PieceTo index
    int32_t threatClass;  // its threat class, -1..5
    uint8_t pawnTo7th;    // a pawn reached the 7th rank with threat class 4 or more
    int32_t extension;    // the extension it got, half plies
    int32_t checkClass;   // quiescence: check class of the move that led here
    Move pv[MaxPv];       // principal variation from this ply
    int32_t pvLength;
    uint8_t repetitionDamped; // the last move from here was searched with repetition damping
    int32_t evasionCount;
    int32_t staticEval;
    int32_t materialBalance;
};

struct RootLine {
    Move move = NoMove;
    int32_t score = 0;
    Move pv[MaxPv] = {};
    int32_t pvLength = 0;
    int32_t depth = 0; // half plies
};

// A count one thread advances while others may read it (the node counts the main search adds
// up across its helpers): plain loads and stores, atomic so a reader never sees a torn value.
class SharedCount {
public:
    SharedCount() = default;
    SharedCount(const SharedCount& other) : value_(uint64_t(other)) {}
    SharedCount& operator=(const SharedCount& other) { return *this = uint64_t(other); }
    SharedCount& operator=(uint64_t value) {
        value_.store(value, std::memory_order_relaxed);
        return *this;
    }
    SharedCount& operator++() { return *this = uint64_t(*this) + 1; }
    operator uint64_t() const { return value_.load(std::memory_order_relaxed); }

private:
    std::atomic<uint64_t> value_{0};
};

struct SearchContext {
    // ---- Set up by engine control
    Position rootPosition;
    int32_t rootSide = White;
    // The search's own copy of the game's keys by ply; the search writes its line above the
    // root ply and never touches the game's.
    uint64_t keyHistory[KeyHistorySize];
    int32_t analysisLines = 1; // lines searched per iteration while analysing, 1..6
    int32_t multiPv = 1;       // lines searched per iteration in any search (above 1: used)
    MoveList searchMoves;      // the root moves the search may play; none: all

    // ---- The search
    Position position; // the working position; moves are undone by copying back
    PlyRecord stack[StackSize];
    // The quiet-move learning (histories, counter moves), cleared at every root search; each
    // search thread learns on its own.
    MoveHistory history;
    SearchSwitches switches; // the active personality's switches, copied at the root
    SharedCount nodes;
    SharedCount qnodes;
    uint64_t nextCheck = 0;
    uint64_t nodeLimit = 0;       // 0: none
    uint64_t helperNodesSeen = 0; // the helpers' nodes at the last clock check
    int32_t rootPly = 0;
    int32_t selDepth = 0;
    uint32_t searchAge = 0;
    int32_t iterationDepth = 0; // half plies
    bool nullMoveAllowed = true;
    bool aborted = false; // a stop reached the search: every later node returns at once
    // A helper thread's context: the flag by which the main search ends the helpers' search.
    // A helper reports nothing and never stops by itself (no clock, no node limit).
    const std::atomic<bool>* helperStop = nullptr;
    int64_t lastDisplayRefresh = 0;

    // ---- Root
    ScoredMoveList rootMoves; // keys: the capture keys of the first ordering
    RootLine rootLines[MaxRootLines];
    int32_t previousScores[MaxRootLines]; // each slot's score from the last iteration
    int32_t pvIndex = 0;
    int32_t rootMoveNumber = 0;
    Move currentRootMove = NoMove;
    int32_t plyOneMoveNumber = 0;
    int32_t instability = 0;
    int32_t prevInstability = 0;
    int32_t bestMoveChanges = 0;
    int32_t rootFailState = 0;
    double firstMoveTime = 0; // seconds
    int64_t searchStart = 0;  // millisecondClock
    int64_t iterationStart = 0;
    Move savedRootPv[MaxPv];
    int32_t savedRootPvLength = 0;
    bool lineReported = false;  // a line went to the protocol in the current iteration
    Move reportedMove = NoMove; // the root move of the last line reported for the first slot

    uint64_t keyAt(int gamePly) const {
        return gamePly >= 0 && gamePly < KeyHistorySize ? keyHistory[gamePly] : 0;
    }
    void setKey(int gamePly, uint64_t key) {
        if (gamePly >= 0 && gamePly < KeyHistorySize) keyHistory[gamePly] = key;
    }
};

// Copies the root position and the game's keys (entries 0 .. root ply - 1) into the context and
// clears the lines, the counters, multiPv and searchMoves.
void setUpSearchContext(SearchContext& context, const Position& root, const uint64_t* gameKeys);

// Clears the ply records from first on (no moves, no pieces moved or taken).
void resetPlyRecords(SearchContext& context, int first);

// Copies src's line (length n) behind move into dst, truncated to MaxPv.
int buildLine(Move* dst, Move move, const Move* src, int n);

} // namespace corvid
