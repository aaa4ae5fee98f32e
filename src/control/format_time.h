// Elapsed and remaining times as the desktop shows them ("01:15.3", "01:02:05.5").
#pragma once

#include <cstddef>

namespace corvid {

// Room for any time up to about 10^12 hours, terminating NUL included.
constexpr size_t TimeTextSize = 32;

// Writes seconds as [hh:]mm:ss.t (hours only from one hour on; fractions truncated).
// Negative or non-finite values are written as 00:00.0.
void formatTime(char* text, double seconds);

} // namespace corvid
