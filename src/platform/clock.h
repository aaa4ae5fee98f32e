// Milliseconds since process start; every time measurement of the program uses it.
#pragma once

#include <cstdint>

namespace corvid {

int64_t millisecondClock();

} // namespace corvid
