// STAND-INS, to be deleted piece by piece: minimal versions of operations that other parts of
// the engine provide (engine control, transposition table, move ordering, exchange and mate
// tests, evaluation, null move), with the interfaces the search calls. Each block is replaced
// by the real module as soon as it lands on main.
#pragma once

#include "chess/move_gen.h"
#include "chess/position.h"
#include "chess/zobrist.h"
#include "search/search_constants.h"

#include <atomic>
#include <cstdint>

namespace corvid {

// ---- Score scale (transposition table module)
constexpr int MateValue = 10000;
constexpr int MateThreshold = 9800;
constexpr int NoScore = -30000;
constexpr int AbortScore = 100000;
constexpr bool IsMateScore(int score) { return score > MateThreshold || score < -MateThreshold; }

// ---- Engine control (SearchInfo)
enum class StopRequest : int32_t { None = 0, MoveNow = 1, Abort = 2 };
enum class SearchState : int32_t { Idle = 0, Thinking = 1, Analyzing = 2, Pondering = 3 };
enum class PonderState : int32_t { None = 0, Pondering = 1, PonderHit = 2, PonderMiss = 3 };

struct SearchInfo {
    std::atomic<StopRequest> stopRequest{StopRequest::None};
    std::atomic<SearchState> searchState{SearchState::Idle};
    std::atomic<PonderState> ponderState{PonderState::None};
    std::atomic<bool> protocolMode{false};
    std::atomic<bool> postThinking{false};
    std::atomic<double> targetTime{0};
    std::atomic<double> extraTime{0};
    std::atomic<int64_t> maxNodes{0};
};
extern SearchInfo searchInfo;
inline bool inProtocolMode() { return searchInfo.protocolMode.load(std::memory_order_relaxed); }

struct SearchContext;
// The protocol's line for a new best line or bound (0 exact, 1 lower, 2 upper).
void reportSearchLine(const SearchContext& context, int bound);

// ---- Transposition table
constexpr int BoundUpper = 0;
constexpr int BoundLower = 1;
constexpr int BoundExact = 2;
constexpr int BoundNone = 3;
constexpr int HintSingular = 1;
constexpr int HintNoMateThreat = 2;

struct TTProbe {
    bool found = false;
    Move move = NoMove;
    int score = NoScore;
    int depth = 0;
    int bound = BoundNone;
    int staticEval = NoScore;
    int hints = 0;
};
bool ttProbe(uint64_t key, int alpha, int beta, int requiredDepth, int ply, int age,
             TTProbe& out);
bool ttProbeQuiescence(uint64_t key, int alpha, int beta, int requiredDepth, int ply,
                       int& score, int& staticEval);
void ttStore(uint64_t key, int alpha, int beta, Move move, int score, int depth, int ply,
             int age, int staticEval, int hints);
uint32_t ttNewSearchAge();
void ttClear();
extern std::atomic<bool> useHashTableStandIn;

// ---- Evaluation
// Static evaluation for the side to move; *lazyFlag set when it left early on the window.
int evaluatePosition(const Position& position, int alpha, int beta, bool* lazyFlag);

// ---- Null move (game record module)
inline void MakeNullMove(Position& p) {
    if (p.epSquare < 64) p.key ^= ZobristEp[p.epSquare];
    p.epSquare = NoSquare;
    p.key ^= ZobristSide;
    p.checkers = 0;
    ++p.ply;
    p.sideToMove ^= 1;
}

// ---- Exchange, threat and mate tests
bool seeAtLeast(const Position& p, Move move, int threshold);
int threatClassOf(const Position& p, Move move, bool threatDetection);
int findMateMove(const Position& p, int depth, Move& move);
bool findMateThreat(const Position& p, int side, Move& move);
bool isStillMating(const Position& p, int side, Move move);
bool isEscapeMove(const Position& p, Move move);
void GenerateChecks(const Position& p, Bitboard targets, const CheckSquares& checkSquares,
                    MoveList& list);
int checkClass(const Position& p, Move move, int eval, int threshold);
bool deltaWorthy(const Position& p, Move move, int eval, int threshold, int capturedValue);
void limitedEvasions(const Position& p, MoveList& list);
Bitboard discoveredTargets(const Position& p, int from, int to, int side, Bitboard candidates);

// ---- Move ordering
int PieceToIndex(PieceCode piece, int to);
bool IsQuietMove(const Position& p, Move move);
void scoreCaptures(const MoveList& list, const Position& p, int* keys);
void scoreQuiets(const MoveList& list, const Position& p, int prev1, int prev2, int* keys);
void scoreEvasions(const MoveList& list, const Position& p, int prev1, int* keys);
void sortMoves(MoveList& list, int* keys);
bool moveToFront(MoveList& list, int* keys, Move move, int index);
void clearHistories();
Move counterMoveFor(int prev1);
void updateKillers(Move killers[2], Move move);
// prev1 / prev2: PieceTo indices of the moves one and two plies back, 0 for none.
void updateQuietStats(const Position& p, Move best, int depth, Move killers[2], int prev1,
                      int prev2, bool isRoot, const Move* tried, int triedCount);

// The staged move picker of a node.
enum Stage : int32_t {
    HashStage = 0,
    CaptureStage = 1,
    RefutationStage = 2,
    QuietStage = 3,
    BadCaptureStage = 4,
    EvasionStage = 5,
    RootStage = 6,
    DoneStage = 7,
};

struct MovePicker {
    const Position* position;
    Move ttMove;
    Move killers[2];
    Move counter;
    int prev1, prev2;
    int stage;
    int index;
    MoveList list;
    int keys[256];
    Move deferred[MaxDeferredCaptures];
    int deferredCount;
    int evasionCount;

    // ttMove must already be playable (IsPseudoLegal) or 0.
    void init(const Position& p, Move tableMove, const Move nodeKillers[2], int previous1,
              int previous2);
    // The next candidate (legality not yet tested outside evasions), 0 when exhausted; stage
    // holds its stage.
    Move next();
    // Brings the move to the place right after the last one returned, in the current list.
    bool bringNext(Move move);
};

} // namespace corvid
