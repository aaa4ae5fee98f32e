// Starting a thread with an explicit stack size: the search recurses deeply on copied positions,
// far beyond what a default thread stack is guaranteed to hold.
#pragma once

#include <cstddef>
#include <functional>

namespace corvid {

#if defined(__SANITIZE_THREAD__) || defined(__SANITIZE_ADDRESS__)
// Sanitizer instrumentation makes every frame several times larger.
constexpr size_t SearchThreadStackBytes = 64 * 1024 * 1024;
#else
constexpr size_t SearchThreadStackBytes = 16 * 1024 * 1024;
#endif

class LargeStackThread {
public:
    LargeStackThread() = default;
    LargeStackThread(const LargeStackThread&) = delete;
    LargeStackThread& operator=(const LargeStackThread&) = delete;
    ~LargeStackThread();

    // Starts body on a new thread with the given stack size; false if the thread could not start.
    bool start(std::function<void()> body, size_t stackBytes = SearchThreadStackBytes);
    bool running() const { return started_; }
    void join();
    struct Impl;

private:
    Impl* impl_ = nullptr;
    bool started_ = false;
};

} // namespace corvid
