// The test match's statistics: the Elo estimate with its margin, the time format and the status
// text, byte for byte.
#include "control/test_statistics.h"
#include "search/search_text.h"

#include <gtest/gtest.h>
#include <string>

namespace corvid {
namespace {

struct EloCase {
    int wins, draws, losses;
    int elo, margin; // as shown: truncated
};

TEST(TestStatistics, EloAndMargin) {
    const EloCase cases[] = {
        {10, 10, 0, 190, 78},   // s = 0.75, v = (0.1875 - 0.125) / 19
        {0, 10, 10, -190, 78},  // the mirror: truncation toward zero on both sides
        {5, 0, 0, 1000, 1000},  // all won
        {0, 0, 5, -1000, 1000}, // all lost
        {0, 0, 0, 0, 1000},     // no games
        {0, 1, 0, 0, 1000},     // one game: no variance yet
        {0, 12, 0, 0, 0},       // all drawn: zero variance, never a negative one
        {1, 1, 0, 190, 340},    // n = 2: v = 0.0625
        {30, 40, 30, 0, 53},    // even score
    };
    for (const EloCase& c : cases) {
        EloEstimate e = estimateElo(c.wins, c.draws, c.losses);
        SCOPED_TRACE(testing::Message() << "+" << c.wins << " =" << c.draws << " -" << c.losses);
        EXPECT_EQ(int(e.elo), c.elo);
        EXPECT_EQ(int(e.margin), c.margin);
    }
}

TEST(TestStatistics, TimeFormat) {
    const std::pair<double, const char*> cases[] = {
        {75.3, "01:15.3"},
        {3725.5, "01:02:05.5"},
        {0.05, "00:00.0"},
        {29940, "08:19:00.0"},
        {-3, "00:00.0"},
        {360000, "100:00:00.0"},
        {1e300, "277777777777:46:40.0"},
    };
    for (const auto& [seconds, expected] : cases)
        EXPECT_EQ(formatTime(seconds), expected) << seconds;
}

TEST(TestStatistics, TextLayout) {
    TestMatch m;
    m.totalGames = 500;
    m.wins = 10;
    m.draws = 10;
    m.gamesPlayed = 20;
    m.startIndex = 7;
    m.sides[0].nodeSum = 3000;
    m.sides[1].nodeSum = 2000;
    m.sides[0].depthSum = 40;
    m.sides[0].searches = 10;
    m.sides[1].depthSum = 35;
    m.sides[1].searches = 10;
    char text[StatisticsTextSize];
    formatTestStatistics(text, m, 75.5);
    EXPECT_EQ(std::string(text), "+10 -0 =10 \nElo : 190 (+/- 78)\n\ngames: 20 of 500 \n"
                                 "time: 01:15.5\nremaining: 30:12.0\nstartIdx: 7\n"
                                 "nodes ratio: 1.500\ndepth : 4.00, 3.50");

    // Before the first game: no Elo, no remaining time, ratio 1, depths 0.
    TestMatch fresh;
    formatTestStatistics(text, fresh, 0.2);
    EXPECT_EQ(std::string(text), "+0 -0 =0 \nElo : 0 (+/- 1000)\n\ngames: 0 of 500 \n"
                                 "time: 00:00.2\nremaining: ?\nstartIdx: -1\n"
                                 "nodes ratio: 1.000\ndepth : 0.00, 0.00");

    // One game of 500 after a minute leaves 29,940 s; skipped start lines are counted last.
    TestMatch one;
    one.gamesPlayed = 1;
    one.losses = 1;
    one.startIndex = 0;
    one.startPositions.skipped = 3;
    formatTestStatistics(text, one, 60);
    EXPECT_EQ(std::string(text), "+0 -1 =0 \nElo : -1000 (+/- 1000)\n\ngames: 1 of 500 \n"
                                 "time: 01:00.0\nremaining: 08:19:00.0\nstartIdx: 0\n"
                                 "nodes ratio: 1.000\ndepth : 0.00, 0.00\nskipped lines: 3");
}

} // namespace
} // namespace corvid
