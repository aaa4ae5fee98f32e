// The time budget rules, as a table of clock situations and the budgets they must give.
#include "control/time_control.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

struct BudgetCase {
    const char* name;
    double timeLeft;
    int movesToGo;
    double increment;
    int gamePly;
    bool ponder;
    double target, extra;
};

class TimeBudgetTable : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(TimeBudgetTable, GivesTheBudget) {
    const BudgetCase& c = GetParam();
    TimeBudget b = computeTimeBudget(c.timeLeft, c.movesToGo, c.increment, c.gamePly, c.ponder);
    EXPECT_NEAR(b.targetTime, c.target, 0.0005) << c.name;
    EXPECT_NEAR(b.extraTime, c.extra, 0.005) << c.name;
    // Whatever the clock, target plus the extra time always fits into what is left.
    if (c.timeLeft > 1) {
        EXPECT_LE(b.targetTime + b.extraTime, c.timeLeft) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, TimeBudgetTable,
    ::testing::Values(
        // 300 s, sudden death, move 0: 300 / 44, extra 3.75 times that.
        BudgetCase{"SuddenDeath300s", 300, 0, 0, 0, false, 6.8182, 25.568},
        // Pondering shortens the divisor by 6.
        BudgetCase{"SuddenDeath300sPonder", 300, 0, 0, 0, true, 7.8947, 29.605},
        // 10 s at move 40: one second is kept back, 9 / 50.
        BudgetCase{"TenSecondsMove40", 10, 0, 0, 80, false, 0.18, 0.675},
        // 1 s without increment: nothing left after the reserve, the 1 ms floor.
        BudgetCase{"OneSecondLeft", 1, 0, 0, 0, false, 0.001, 0},
        // 40 moves in 300 s at ply 0: 299.5 / 41.5.
        BudgetCase{"FortyMovesTo300s", 300, 40, 0, 0, false, 7.2169, 27.063},
        // The same control later: moves to go counts down with the move number.
        BudgetCase{"FortyMovesAtMove30", 100, 40, 0, 60, false, 99.5 / 11.5, 3.75 * 99.5 / 11.5},
        // Increment added when there is time for it, and 10% more in the opening.
        BudgetCase{"OneSecondPlusIncrement", 1, 0, 0.01, 0, false, 1.0 / 44 * 1.1 + 0.01,
                   3.75 * (1.0 / 44 * 1.1 + 0.01)},
        // Late in a long game the divisor grows with the move number.
        BudgetCase{"Move100", 60, 0, 0, 200, false, 60.0 / 35, 3.75 * 60.0 / 35},
        // Nonsense clock readings are made safe.
        BudgetCase{"NegativeTime", -50, 0, 0, 0, false, 0.001, 0},
        BudgetCase{"NotANumber", std::numeric_limits<double>::quiet_NaN(), 0, 0, 0, false, 0.001,
                   0}),
    [](const ::testing::TestParamInfo<BudgetCase>& param) { return param.param.name; });

TEST(TimeBudget, ClampTimeLimitsTargetAndExtra) {
    TimeBudget b{10, 0};
    clampTime(b, 7); // target * 1.4 > 7: target = 7 / 1.4 = 5, then 2 * 5 > 7: no extra
    EXPECT_NEAR(b.targetTime, 5, 1e-9);
    EXPECT_EQ(b.extraTime, 0);
    b = TimeBudget{1, 0};
    clampTime(b, 4); // 3.75 does not fit into 4 - 2.1; 2.625 does not; 1.8375 does
    EXPECT_NEAR(b.extraTime, 3.75 * 0.7 * 0.7, 1e-9);
    b = TimeBudget{0.0001, 5};
    clampTime(b, 0.00015);
    EXPECT_EQ(b.targetTime, 0.001);
    EXPECT_EQ(b.extraTime, 0);
}

TEST(TimeBudget, MovesToGoAndMovetimeForUci) {
    TimeBudget b = movesToGoBudget(60, 20, 0); // 60 / 21.5
    EXPECT_NEAR(b.targetTime, 60 / 21.5, 1e-9);
    b = movesToGoBudget(60, 20, 1); // increment added: t > 1.2 + target
    EXPECT_NEAR(b.targetTime, 60 / 21.5 + 1, 1e-9);
    EXPECT_EQ(saneSeconds(1e30), MaxClockSeconds);
    EXPECT_EQ(saneSeconds(-1), 0);
}

} // namespace
} // namespace corvid
