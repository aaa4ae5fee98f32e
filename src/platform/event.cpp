#include "platform/event.h"

#include <chrono>

namespace corvid {

void Event::set() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        signalled_ = true;
    }
    if (manualReset_)
        condition_.notify_all();
    else
        condition_.notify_one();
}

void Event::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    signalled_ = false;
}

bool Event::wait(int timeoutMs) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto ready = [this] { return signalled_; };
    bool signalled;
    if (timeoutMs < 0) {
        condition_.wait(lock, ready);
        signalled = true;
    } else {
        signalled = condition_.wait_for(lock, std::chrono::milliseconds(timeoutMs), ready);
    }
    if (signalled && !manualReset_) signalled_ = false;
    return signalled;
}

bool Event::isSet() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return signalled_;
}

} // namespace corvid
