// A signalling event in the manner the engine control expects: manual-reset (stays signalled
// until reset) or auto-reset (one successful wait consumes the signal).
#pragma once

#include <condition_variable>
#include <mutex>

namespace corvid {

class Event {
public:
    explicit Event(bool manualReset, bool initiallySet = false)
        : manualReset_(manualReset), signalled_(initiallySet) {}
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;

    void set();
    void reset();
    // Waits until signalled or the time-out (milliseconds; negative waits for ever) passes.
    // Returns true when the event was signalled.
    bool wait(int timeoutMs = -1);
    bool isSet() const;

private:
    const bool manualReset_;
    bool signalled_;
    mutable std::mutex mutex_;
    std::condition_variable condition_;
};

} // namespace corvid
