#include "control/format_time.h"

#include <algorithm>
#include <cstdio>

namespace corvid {

void formatTime(char* text, double x) {
    // Beyond this the whole seconds no longer fit the integer arithmetic below.
    constexpr double MaxSeconds = 1e15;
    if (!(x > 0)) x = 0; // also NaN
    if (x > MaxSeconds) x = MaxSeconds;
    long long whole = (long long)x;
    long long h = whole / 3600;
    long long m = (whole - 3600 * h) / 60;
    long long s = whole - 3600 * h - 60 * m;
    // From the tenths counted whole, so that 75.3 s shows .3 although its binary fraction is
    // a little below 0.3.
    int tenths = int(std::min<long long>((long long)(x * 10) - 10 * whole, 9));
    int n = 0;
    if (h >= 1) n = std::snprintf(text, TimeTextSize, "%.2lld:", h);
    std::snprintf(text + n, TimeTextSize - size_t(n), "%.2lld:%.2lld.%.1d", m, s, tenths);
}

} // namespace corvid
