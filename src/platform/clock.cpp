#include "platform/clock.h"

#include <chrono>

namespace corvid {

namespace {
const auto processStart = std::chrono::steady_clock::now();
}

int64_t millisecondClock() {
    auto elapsed = std::chrono::steady_clock::now() - processStart;
    return std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count();
}

} // namespace corvid
