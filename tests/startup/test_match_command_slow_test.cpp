// A 20-game headless match at the match's own time control (one second a game and a hundredth
// a move) from the start positions shipped with the program: it finds them, runs to the end, its
// results add up, no clock runs out, and the statistics come after every game.
#include "startup/test_match_command_support.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace corvid::test {
namespace {

// Below this share of one processor the clocks say more about the machine than the program.
constexpr double MinProcessorShare = 0.5;

TEST(TestMatchCommandSlow, TwentyGamesFromTheShippedStartPositions) {
    ScratchDirectory folder;
    // The program finds its start positions next to itself, as the build puts them there.
    int shipped = 0;
    {
        std::ifstream starts(SourcePath("data/openingBook/testStartPositions.txt"));
        std::string line;
        while (std::getline(starts, line)) shipped += !line.empty();
    }
    ASSERT_GT(shipped, 40);
    CommandRun run = RunCorvid(folder, {"testmatch", "20", "--hash", "16"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("start positions from openingBook/testStartPositions.txt\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(Occurrences(run.output, "\nElo : "), 21) << run.output;
    for (int games = 0; games <= 20; ++games)
        EXPECT_EQ(Occurrences(run.output, "games: " + std::to_string(games) + " of 20 \n"), 1);
    EXPECT_EQ(Occurrences(run.output, "skipped lines"), 0);
    // "Match over: 20 of 20 games, A +w -l =d; ...; time forfeits: 0"
    size_t at = run.output.find("Match over: 20 of 20 games, A +");
    ASSERT_NE(at, std::string::npos) << run.output;
    int wins = -1, losses = -1, draws = -1, loaded = -1, skipped = -1, forfeits = -1;
    ASSERT_EQ(std::sscanf(run.output.c_str() + at,
                          "Match over: 20 of 20 games, A +%d -%d =%d; start positions: %d "
                          "loaded, %d skipped; time forfeits: %d",
                          &wins, &losses, &draws, &loaded, &skipped, &forfeits),
              6);
    EXPECT_EQ(wins + losses + draws, 20);
    EXPECT_EQ(loaded, std::min(shipped, 2048));
    EXPECT_EQ(skipped, 0);
    // The clocks run on the wall clock: a program that gets a small share of a processor (a
    // machine busy with other work) runs out of time whatever its time management does.
    const double share = run.cpuSeconds / std::max(run.wallSeconds, 0.001);
    if (share >= MinProcessorShare) {
        EXPECT_EQ(forfeits, 0) << "with " << int(share * 100) << "% of a processor";
    } else {
        std::printf("The program had %d%% of a processor; clocks ran out in %d games (not "
                    "judged)\n",
                    int(share * 100), forfeits);
    }
    // The last statistics for the log.
    size_t elo = run.output.rfind("\nElo : ", at);
    size_t last = run.output.rfind('\n', elo - 1) + 1;
    std::printf("%s", run.output.substr(last).c_str());
}

} // namespace
} // namespace corvid::test
