#include "control/time_control.h"

#include "control/game.h"
#include "search/search_info.h"

#include <algorithm>
#include <cmath>

namespace corvid {

double saneSeconds(double seconds) {
    if (!(seconds > 0)) return 0; // also catches NaN
    return std::min(seconds, MaxClockSeconds);
}

void clampTime(TimeBudget& budget, double timeLeft) {
    double& target = budget.targetTime;
    if (target * 1.4 > timeLeft) target = timeLeft / 1.4;
    if (target < 0.001) target = 0.001;
    budget.extraTime = 0;
    if (2 * target > timeLeft) return;
    double extra = 3.75 * target;
    for (int k = 0; k < 10; ++k, extra *= 0.7) {
        if (extra + 2 * target + 0.1 <= timeLeft) {
            budget.extraTime = extra;
            return;
        }
    }
}

TimeBudget computeTimeBudget(double timeLeft, int movesToGo, double increment, int gamePly,
                             bool ponderEnabled) {
    TimeBudget budget;
    int moveNumber = (gamePly + 1) / 2;
    timeLeft = saneSeconds(timeLeft);
    increment = saneSeconds(increment);
    if (movesToGo > 0) {
        double t = timeLeft - 0.5;
        budget.targetTime = t / ((movesToGo - moveNumber % movesToGo) + 1.5);
        if (t > 1.2 * increment + budget.targetTime) budget.targetTime += increment;
        clampTime(budget, t);
        clampTime(budget, t);
        return budget;
    }
    double t = timeLeft;
    if (increment <= 0 && t < 60) t -= 1;
    int k = moveNumber < 12   ? 44
            : moveNumber < 19 ? 56
            : moveNumber < 30 ? 74
            : moveNumber < 66 ? 90
            : moveNumber < 90 ? 120
                              : moveNumber + 35;
    t = std::max(0.00001, t);
    int divisor = ponderEnabled ? k - 6 - moveNumber : k - moveNumber;
    budget.targetTime = t / divisor;
    if (increment > 0 && moveNumber < 18) budget.targetTime *= 1.1;
    if (t > 1.2 * increment + budget.targetTime) budget.targetTime += increment;
    clampTime(budget, t);
    return budget;
}

TimeBudget movesToGoBudget(double timeLeft, int movesToGo, double increment) {
    TimeBudget budget;
    double t = saneSeconds(timeLeft);
    increment = saneSeconds(increment);
    budget.targetTime = t / (movesToGo + 1.5);
    if (t > 1.2 * increment + budget.targetTime) budget.targetTime += increment;
    clampTime(budget, t);
    return budget;
}

void storeTimeBudget(const TimeBudget& budget) {
    searchInfo.targetTime.store(budget.targetTime);
    searchInfo.extraTime.store(budget.extraTime);
}

void allocateTime(double timeLeft, int movesToGo, double increment) {
    storeTimeBudget(computeTimeBudget(timeLeft, movesToGo, increment, currentGamePosition().ply,
                                      searchInfo.ponderEnabled.load()));
}

void guiTimeBudget(int side) {
    if (inProtocolMode()) return;
    double fixed = searchInfo.fixedMoveSeconds.load();
    if (fixed != 0) {
        searchInfo.targetTime.store(fixed);
        return;
    }
    allocateTime(guiTimeLeft(side, gameMoveCount()), 0, searchInfo.incrementSeconds.load());
}

double guiTimeLeft(int side, int n) {
    double increment = searchInfo.incrementSeconds.load();
    int base = int(searchInfo.baseMinutes.load() * 6000);
    double left = side == White
                      ? (n + 1) / 2 * increment * 100 + (base - searchInfo.whiteClock.load())
                      : n / 2 * increment * 100 + (base - searchInfo.blackClock.load());
    return left / 100;
}

} // namespace corvid
