// Turning clock readings into a time budget for one move: the time the move should take and
// the extra time the search may add when its choice is unstable.
#pragma once

namespace corvid {

struct TimeBudget {
    double targetTime = 0; // seconds
    double extraTime = 0;  // seconds
};

// The budget for timeLeft seconds with movesToGo moves to the next time control (0 or less:
// the whole game), increment seconds per move, at game ply gamePly, with or without pondering.
TimeBudget computeTimeBudget(double timeLeft, int movesToGo, double increment, int gamePly,
                             bool ponderEnabled);
// Caps the target at timeLeft / 1.4 (at least 1 ms) and fits the extra time into timeLeft.
void clampTime(TimeBudget& budget, double timeLeft);
// The UCI "movestogo" rule: timeLeft shared out over movesToGo moves.
TimeBudget movesToGoBudget(double timeLeft, int movesToGo, double increment);
// Clock readings from front ends are clamped to this many seconds (about 115 days).
constexpr double MaxClockSeconds = 1e7;
// A clock reading made safe: not a number or negative becomes 0, absurdly large is capped.
double saneSeconds(double seconds);

// allocateTime: computeTimeBudget for the game's ply and the ponder option, stored into
// searchInfo.targetTime and extraTime.
void allocateTime(double timeLeft, int movesToGo, double increment);
void storeTimeBudget(const TimeBudget& budget);

// The desktop's budget for the side to move from its clocks; nothing in the protocol modes.
void guiTimeBudget(int side);
// The desktop's time left for side in seconds with movesPlayed half-moves in the game: the base
// time and an increment for each of its moves made, less what its clock has used.
double guiTimeLeft(int side, int movesPlayed);

} // namespace corvid
