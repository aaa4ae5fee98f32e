#include "gui/logic/clock_display.h"

#include "search/search_info.h"

#include <cinttypes>
#include <cstdio>

namespace corvid {

ClockReading readClocks(const ClockInputs& in) {
    ClockReading r;
    const int n = in.halfMoves < 0 ? 0 : in.halfMoves;
    r.whiteToMove = n % 2 == 0;
    int64_t whiteUsedCs = in.whiteUsedCs, blackUsedCs = in.blackUsedCs;
    if (in.clocksRunning) (r.whiteToMove ? whiteUsedCs : blackUsedCs) += in.runningCs;
    r.whiteUsed = whiteUsedCs / 100;
    r.blackUsed = blackUsedCs / 100;
    const double base = in.baseMinutes * 60;
    const int64_t whiteAllowance = int64_t((n + 1) / 2 * in.incrementSeconds + base);
    const int64_t blackAllowance = int64_t(n / 2 * in.incrementSeconds + base);
    r.whiteLeft = in.clocksRunning ? whiteAllowance - r.whiteUsed : whiteAllowance;
    r.blackLeft = in.clocksRunning ? blackAllowance - r.blackUsed : blackAllowance;
    return r;
}

std::string clockText(int64_t seconds) {
    if (seconds <= 0) return "0:00";
    char text[32];
    std::snprintf(text, sizeof text, "%" PRId64 ":%.2d", seconds / 60, int(seconds % 60));
    return text;
}

FlagFall flagFall(const ClockReading& r, const ClockInputs& in, int humanSide) {
    if (humanSide != HumanWhite && humanSide != HumanBlack) return {};
    if (in.baseMinutes == 0 && in.incrementSeconds <= 0) return {};
    if (!in.clocksRunning) return {};
    if (r.blackLeft <= 0) return {GameWhiteWon, "Result 1-0\n(Black loses on time.)"};
    if (r.whiteLeft <= 0) return {GameBlackWon, "Result 0-1\n(White loses on time.)"};
    return {};
}

} // namespace corvid
