// Reading protocol input: whole lines, WinBoard "level", UCI option values, the UCI score form.
#include "control/thread_count.h"
#include "protocol/input_line.h"
#include "protocol/protocol_reporter.h"
#include "protocol/uci_options.h"
#include "protocol/winboard.h"

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string_view>
#include <utility>

namespace corvid {
namespace {

TEST(InputLine, ReadsWholeLinesCapsAndStripsLineEnds) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::string longLine(3 * MaxInputLine, 'x');
    std::fprintf(file, "uci\r\nisready\n%s\nstop\r\r\nlast", longLine.c_str());
    std::rewind(file);
    std::string line;
    ASSERT_TRUE(readInputLine(file, line));
    EXPECT_EQ(line, "uci");
    ASSERT_TRUE(readInputLine(file, line));
    EXPECT_EQ(line, "isready");
    ASSERT_TRUE(readInputLine(file, line));
    EXPECT_EQ(line.size(), MaxInputLine); // the excess is dropped, not read as more lines
    ASSERT_TRUE(readInputLine(file, line));
    EXPECT_EQ(line, "stop");
    ASSERT_TRUE(readInputLine(file, line)); // a last line without its newline still counts
    EXPECT_EQ(line, "last");
    EXPECT_FALSE(readInputLine(file, line));
    std::fclose(file);
}

TEST(WinBoardLevel, BaseTimeInMinutesOrMinutesAndSeconds) {
    int moves = -1;
    double base = 0, increment = 0;
    ASSERT_TRUE(parseLevel("level 40 5 0", moves, base, increment));
    EXPECT_EQ(moves, 40);
    EXPECT_DOUBLE_EQ(base, 5);
    EXPECT_DOUBLE_EQ(increment, 0);
    ASSERT_TRUE(parseLevel("level 0 0:30 0", moves, base, increment));
    EXPECT_EQ(moves, 0);
    EXPECT_DOUBLE_EQ(base, 0.5);
    ASSERT_TRUE(parseLevel("level 0 2:05 0.25", moves, base, increment));
    EXPECT_NEAR(base, 125.0 / 60, 1e-12);
    EXPECT_DOUBLE_EQ(increment, 0.25);
    EXPECT_FALSE(parseLevel("level 40", moves, base, increment));
    EXPECT_FALSE(parseLevel("level x y z", moves, base, increment));
    ASSERT_TRUE(parseLevel("level -3 -5 -1", moves, base, increment)); // made safe
    EXPECT_EQ(moves, 0);
    EXPECT_EQ(base, 0);
    EXPECT_EQ(increment, 0);
}

TEST(UciOptions, HashIsKeptInItsDeclaredRange) {
    EXPECT_EQ(clampHashMegabytes(48), 48);
    EXPECT_EQ(clampHashMegabytes(2), 6);
    EXPECT_EQ(clampHashMegabytes(-1), 6);
    EXPECT_EQ(clampHashMegabytes(5000000000LL), 900); // beyond 32 bits
    int count = 0;
    const UciOption* options = uciOptions(count);
    EXPECT_EQ(count, 9);
    EXPECT_STREQ(options[0].name, "Hash");
}

TEST(UciOptions, ThreadsIsKeptInItsDeclaredRangeAndLeavesARunningSearchAlone) {
    int count = 0;
    const UciOption* options = uciOptions(count);
    const UciOption* found = std::find_if(options, options + count, [](const UciOption& o) {
        return std::string_view(o.name) == "Threads";
    });
    ASSERT_NE(found, options + count);
    const UciOption& threads = *found;
    EXPECT_FALSE(threads.stopsSearch);
    for (auto [text, expected] :
         {std::pair{"4", 4}, {"0", 1}, {"-7", 1}, {"999999999999", 256}, {"junk", 256}, {"2", 2}}) {
        threads.apply(text);
        EXPECT_EQ(searchThreads(), expected) << text;
    }
    setSearchThreads(1);
}

TEST(UciScore, CentipawnsMatesAndLateDraws) {
    EXPECT_EQ(uciScoreText(35, 5, 10), "cp 35");
    EXPECT_EQ(uciScoreText(-35, 5, 10), "cp -35");
    EXPECT_EQ(uciScoreText(9999, 5, 10), "mate 1");   // MateValue - 1
    EXPECT_EQ(uciScoreText(-9998, 5, 10), "mate -1"); // 2 - MateValue
    EXPECT_EQ(uciScoreText(9997, 5, 10), "mate 2");
    EXPECT_EQ(uciScoreText(2, 5, 81), "cp 0"); // a near-draw late in the game
    EXPECT_EQ(uciScoreText(2, 5, 80), "cp 2");
    EXPECT_EQ(uciScoreText(0, 0, 10), "cp 1"); // depth 0 never reports 0
}

} // namespace
} // namespace corvid
