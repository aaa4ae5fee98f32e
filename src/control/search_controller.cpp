#include "control/search_controller.h"

#include "eval/pawn_cache.h"

#include "control/search_thread.h"
#include "control/table_access.h"
#include "platform/clock.h"
#include "platform/thread.h"

namespace corvid {

SearchController searchController;

void SearchController::post(SearchRequest request) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        searchInfo.request.store(request);
        searchInfo.stopRequest.store(StopRequest::None);
        if (request == SearchRequest::Ponder) searchInfo.ponderState.store(PonderState::Pondering);
        pending_ = true;
        ++generation_;
    }
    changed_.notify_all();
}

void SearchController::requestStop(StopRequest kind) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // A stronger stop is never weakened: Abort stays Abort.
        if (searchInfo.stopRequest.load() < kind) searchInfo.stopRequest.store(kind);
    }
    changed_.notify_all();
}

bool SearchController::swapPonderState(PonderState expected, PonderState desired) {
    bool swapped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        swapped = searchInfo.ponderState.compare_exchange_strong(expected, desired);
    }
    changed_.notify_all();
    return swapped;
}

void SearchController::waitUntilIdle() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && !running_; });
}

bool SearchController::idle() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !pending_ && !running_;
}

void SearchController::requestQuit() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        quit_ = true;
    }
    changed_.notify_all();
}

bool SearchController::quitRequested() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return quit_;
}

SearchRequest SearchController::take() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return pending_ || quit_; });
    if (quit_) return searchInfo.request.load();
    pending_ = false;
    running_ = true;
    return searchInfo.request.load();
}

void SearchController::finish(bool followUpThink) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = false;
        if (followUpThink && !pending_ && searchInfo.stopRequest.load() == StopRequest::None) {
            searchInfo.request.store(SearchRequest::Think);
            pending_ = true;
            ++generation_;
        }
    }
    changed_.notify_all();
}

void SearchController::waitForPonderEnd() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [] {
        return searchInfo.ponderState.load() == PonderState::PonderHit ||
               searchInfo.stopRequest.load() != StopRequest::None;
    });
}

void SearchController::waitForStop() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [] { return searchInfo.stopRequest.load() != StopRequest::None; });
}

namespace {
// Per process: the search thread lives until the process exits or the desktop ends it.
LargeStackThread searchThread;
} // namespace

void startSearchThread() {
    LargeStackThread& thread = searchThread;
    if (thread.running()) return;
    thread.start([] {
        noteSearchThread();
        // The search thread is the one user of the big pawn cache.
        claimPawnCache();
        searchThreadLoop();
    });
}

void endSearchThread() {
    stopSearch();
    searchController.requestQuit();
    if (searchThread.running()) searchThread.join();
}

void stopSearch() {
    searchController.requestStop(StopRequest::Abort);
    searchController.waitUntilIdle();
}

void requestThink() {
    stopSearch();
    if (searchInfo.humanSide.load() != EnginePlaysNeither && !searchInfo.clocksRunning.load()) {
        searchInfo.clocksRunning.store(true);
        if (!inProtocolMode()) {
            searchInfo.whiteClock.store(0);
            searchInfo.blackClock.store(0);
            searchInfo.clockStart.store(millisecondClock());
        }
    }
    searchController.post(SearchRequest::Think);
}

void requestAnalysis() {
    stopSearch();
    searchController.post(SearchRequest::Analyze);
}

void requestPonder() {
    stopSearch();
    searchController.post(SearchRequest::Ponder);
}

bool ponderHit() {
    return searchController.swapPonderState(PonderState::Pondering, PonderState::PonderHit);
}

void moveNow() { searchController.requestStop(StopRequest::MoveNow); }

} // namespace corvid
