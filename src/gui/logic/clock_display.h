// The clocks as the side panel shows them: used and remaining time of each side from the
// stored clocks, the time control and the running move, and the flag-fall rule.
#pragma once

#include <cstdint>
#include <string>

namespace corvid {

struct ClockInputs {
    int halfMoves = 0;       // plies recorded in the game
    int64_t whiteUsedCs = 0; // stored used time, centiseconds
    int64_t blackUsedCs = 0;
    int64_t runningCs = 0; // since the mover's clock started
    double baseMinutes = 5;
    double incrementSeconds = 5;
    bool clocksRunning = false;
};

struct ClockReading {
    int64_t whiteUsed = 0, blackUsed = 0; // seconds
    int64_t whiteLeft = 0, blackLeft = 0; // seconds; the allowance while the clocks stand
    bool whiteToMove = true;
};

// The running move's time counts for the side to move (black when halfMoves is odd). Each
// side's allowance is the base time plus one increment per move it has made (white's count
// includes the move it is making).
ClockReading readClocks(const ClockInputs& in);

// "%d:%.2d" minutes and seconds; "0:00" for a time that is not positive.
std::string clockText(int64_t seconds);

// A flag fall: "Result 1-0\n(Black loses on time.)" or "Result 0-1\n(White loses on time.)"
// with its result code, or nothing. Only while a game against the engine runs with a time
// control that is not empty (base time or increment), and only for clocks that run.
struct FlagFall {
    int result = 0; // 0: none; else the result code of the game
    const char* text = "";
};
FlagFall flagFall(const ClockReading& reading, const ClockInputs& in, int humanSide);

} // namespace corvid
