// The engine controller state shared by the command side (protocol reader or window thread) and
// the search thread. Every field either thread writes while the other may read is atomic.
#pragma once

#include "chess/types.h"

#include <atomic>
#include <cstdint>

namespace corvid {

enum class SearchRequest : int32_t { Think = 0, Analyze = 1, Ponder = 2 };
enum class StopRequest : int32_t { None = 0, MoveNow = 1, Abort = 2 };
enum class SearchState : int32_t { Idle = 0, Thinking = 1, Analyzing = 2, Pondering = 3 };
enum class PonderState : int32_t { None = 0, Pondering = 1, PonderHit = 2, PonderMiss = 3 };

// humanSide values: the side the engine does not play.
constexpr int HumanWhite = 0, HumanBlack = 1, EnginePlaysBoth = 2, EnginePlaysNeither = 3;
// gameResult values.
constexpr int GameRunning = 0, GameBlackWon = 1, GameWhiteWon = 2, GameDrawn = 3;

struct SearchInfo {
    std::atomic<SearchRequest> request{SearchRequest::Think};
    std::atomic<StopRequest> stopRequest{StopRequest::None};
    std::atomic<SearchState> searchState{SearchState::Idle};
    std::atomic<PonderState> ponderState{PonderState::None};
    std::atomic<int32_t> humanSide{HumanWhite};
    std::atomic<int32_t> gameResult{GameRunning};
    std::atomic<bool> protocolMode{false};
    std::atomic<bool> uciMode{false};
    std::atomic<bool> quitRequested{false};
    std::atomic<int32_t> maxDepth{52}; // plies
    std::atomic<int64_t> maxNodes{0};  // 0 = no node limit
    std::atomic<double> fixedMoveSeconds{0};
    std::atomic<double> targetTime{0};  // seconds the current move should take
    std::atomic<double> extraTime{0};   // seconds the search may add when unstable
    std::atomic<int32_t> whiteClock{0}; // centiseconds: used (Gui, WinBoard) or left (UCI)
    std::atomic<int32_t> blackClock{0};
    std::atomic<bool> clocksRunning{false};
    std::atomic<int64_t> clockStart{0}; // millisecondClock when the mover's clock started
    std::atomic<double> baseMinutes{5};
    std::atomic<double> incrementSeconds{5};
    std::atomic<int32_t> movesPerControl{0}; // 0 = whole game in the base time
    std::atomic<Move> ponderMove{NoMove};
    std::atomic<bool> ponderEnabled{false};
    std::atomic<bool> postThinking{false};
    std::atomic<bool> debugLog{false};
    std::atomic<bool> chess960{false};
    std::atomic<bool> analyzeMode{false};
    std::atomic<bool> showSearchInfo{true};
    std::atomic<bool> evalsFromWhitePov{true};
    // UCI: the last position the front end sent could not be set up; searches answer no move.
    std::atomic<bool> positionRejected{false};
};

// Per process: the one controller record.
extern SearchInfo searchInfo;

inline bool inUciMode() { return searchInfo.uciMode.load(std::memory_order_relaxed); }
inline bool inProtocolMode() { return searchInfo.protocolMode.load(std::memory_order_relaxed); }

} // namespace corvid
