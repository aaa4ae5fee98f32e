#include "gui/logic/clock_display.h"

#include "search/search_info.h"

#include <gtest/gtest.h>

namespace corvid {

TEST(ClockDisplay, AllowanceAndDisplayRules) {
    struct Case {
        int halfMoves;
        int64_t whiteCs, blackCs, runningCs;
        double base, increment;
        bool running;
        const char *whiteLeft, *blackLeft, *whiteUsed, *blackUsed;
    };
    const Case cases[] = {
        // Before the first move request the clocks show the allowance.
        {0, 0, 0, 9999, 5, 5, false, "5:00", "5:00", "0:00", "0:00"},
        // White's first move: white has one increment in hand... of its own move count.
        {0, 0, 0, 1234, 5, 5, true, "4:48", "5:00", "0:12", "0:00"},
        // After 1. e4: white's allowance grew by an increment; black's move is running.
        {1, 1500, 0, 700, 5, 5, true, "4:50", "4:53", "0:15", "0:07"},
        // After 1...e5: both have one increment.
        {2, 1500, 700, 0, 5, 5, true, "4:50", "4:58", "0:15", "0:07"},
        // No time left shows 0:00, never a negative time.
        {4, 40000, 100, 0, 1, 2, true, "0:00", "1:03", "6:40", "0:01"},
        // Fractions of minutes and seconds.
        {3, 0, 0, 0, 0.5, 2.5, true, "0:35", "0:32", "0:00", "0:00"},
    };
    for (const Case& c : cases) {
        ClockInputs in{c.halfMoves, c.whiteCs,   c.blackCs, c.runningCs,
                       c.base,      c.increment, c.running};
        ClockReading r = readClocks(in);
        EXPECT_EQ(clockText(r.whiteLeft), c.whiteLeft) << c.halfMoves;
        EXPECT_EQ(clockText(r.blackLeft), c.blackLeft) << c.halfMoves;
        EXPECT_EQ(clockText(r.whiteUsed), c.whiteUsed) << c.halfMoves;
        EXPECT_EQ(clockText(r.blackUsed), c.blackUsed) << c.halfMoves;
        EXPECT_EQ(r.whiteToMove, c.halfMoves % 2 == 0);
    }
    EXPECT_EQ(clockText(3725), "62:05");
}

TEST(ClockDisplay, FlagFall) {
    ClockInputs in{2, 0, 40000, 0, 5, 0, true};
    ClockReading r = readClocks(in);
    FlagFall black = flagFall(r, in, HumanWhite);
    EXPECT_EQ(black.result, GameWhiteWon);
    EXPECT_STREQ(black.text, "Result 1-0\n(Black loses on time.)");

    in = {3, 31000, 0, 0, 5, 0, true};
    FlagFall white = flagFall(readClocks(in), in, HumanBlack);
    EXPECT_EQ(white.result, GameBlackWon);
    EXPECT_STREQ(white.text, "Result 0-1\n(White loses on time.)");

    // Not in self-play nor with the engine off; not with stopped clocks.
    EXPECT_EQ(flagFall(readClocks(in), in, EnginePlaysBoth).result, 0);
    EXPECT_EQ(flagFall(readClocks(in), in, EnginePlaysNeither).result, 0);
    ClockInputs stopped = in;
    stopped.clocksRunning = false;
    EXPECT_EQ(flagFall(readClocks(stopped), stopped, HumanWhite).result, 0);

    // Base time 0 without increment: the clocks never fall, however long the game.
    ClockInputs untimed{40, 900000, 900000, 500000, 0, 0, true};
    EXPECT_EQ(flagFall(readClocks(untimed), untimed, HumanWhite).result, 0);
}

} // namespace corvid
