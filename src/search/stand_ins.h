// STAND-IN for engine control (SearchInfo and the protocol's search line), with the interface
// the search calls; replaced by the real module as soon as it lands on main.
#pragma once

#include <atomic>
#include <cstdint>

namespace corvid {

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
void reportSearchLine(const SearchContext &context, int bound);

} // namespace corvid
