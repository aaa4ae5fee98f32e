// The hand-over between the command side and the one search thread. One mutex and condition
// variable order it: the command side writes the request, its limits and states before posting;
// a stop or ponder hit reaches the request whether it is still pending or already running; the
// command side changes the game, table, book or settings only after waiting until idle.
#pragma once

#include "search/search_info.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace corvid {

class SearchController {
public:
    // Command side. Posts a request (clearing any earlier stop) and wakes the search thread;
    // ponderState is set to Pondering with the post for a ponder request.
    void post(SearchRequest request);
    // Sets the stop request for the pending or running request and wakes any wait.
    void requestStop(StopRequest kind);
    // Compare-and-swap of ponderState under the lock; wakes the search thread's ponder wait.
    bool swapPonderState(PonderState expected, PonderState desired);
    // Blocks until no request is pending or running.
    void waitUntilIdle();
    bool idle() const;

    // Asks the search thread to end once it is idle (the desktop's exit joins it).
    void requestQuit();
    bool quitRequested() const;

    // Search thread. Blocks for the next request and marks it running; returns at once when
    // the thread is to end (quitRequested).
    SearchRequest take();
    // Marks the request done. With followUpThink, posts a think request in the same step unless
    // a stop was requested or another request is already pending.
    void finish(bool followUpThink);
    // Waits until ponderState is PonderHit or a stop is requested (the held ponder result).
    void waitForPonderEnd();
    // Waits until a stop is requested (the held analysis result).
    void waitForStop();

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool pending_ = false;
    bool running_ = false;
    bool quit_ = false;
    uint64_t generation_ = 0; // requests posted so far
};

// Per process: the one controller.
extern SearchController searchController;

// Starts the search thread (once, at engine start).
void startSearchThread();
// Stops any search, ends the search thread and joins it (the desktop's exit). Afterwards no
// request is served.
void endSearchThread();

// Stops a running or pending search and waits until the search thread is idle. Safe to call
// when nothing runs.
void stopSearch();
// Stops, then posts a think request (starting the game clocks on the first one).
void requestThink();
// Stops, then posts an analysis request.
void requestAnalysis();
// Stops, then posts a ponder request (UCI "go ponder").
void requestPonder();
// The front end's ponder hit: true when a ponder search was pending or running.
bool ponderHit();
// Asks the running search to play its best move now (WinBoard "?", or ping while thinking).
void moveNow();

} // namespace corvid
