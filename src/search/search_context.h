// The per-search state the search thread sets up before each root search. Engine control and
// the protocol output read the fields listed here; the search adds its own per-ply records.
#pragma once

#include "chess/position.h"
#include "chess/move_gen.h"

#include <cstdint>

namespace corvid {

constexpr int MaxPv = 256;
constexpr int MaxRootLines = 6;
// Plies of game the key history holds below the search, and the deepest search line above it.
constexpr int MaxGamePlies = 4096;
constexpr int MaxSearchPly = 320;
constexpr int KeyHistorySize = MaxGamePlies + MaxSearchPly;

struct RootLine {
    Move move = NoMove;
    int32_t score = 0;
    Move pv[MaxPv] = {};
    int32_t pvLength = 0;
    int32_t depth = 0; // half plies
};

struct SearchContext {
    Position rootPosition;
    int32_t rootSide = White;
    // The search's own copy of the game's position keys by ply; the search writes its line
    // above the root ply here and never touches the game's.
    uint64_t keyHistory[KeyHistorySize];
    uint64_t nodes = 0;
    int32_t selDepth = 0;
    int32_t iterationDepth = 0; // half plies
    int64_t searchStart = 0;    // millisecondClock
    MoveList rootMoves;
    RootLine rootLines[MaxRootLines];
    int32_t pvIndex = 0;
    int32_t analysisLines = 1;
    int32_t instability = 0;
    int32_t prevInstability = 0;
};

// Copies the root position and the game's keys (entries 0 .. root ply - 1) into the context and
// clears the lines and counters.
void setUpSearchContext(SearchContext& context, const Position& root, const uint64_t* gameKeys);

} // namespace corvid
