// A 20-game headless match at the match's own time control (one second a game and a hundredth
// a move) from real opening positions: it runs to the end, its results add up, no clock runs
// out, and the statistics come after every game.
#include "startup/test_match_command_support.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>

namespace corvid::test {
namespace {

// Below this share of one processor the clocks say more about the machine than the program.
constexpr double MinProcessorShare = 0.5;

// Used when the shared opening positions are not beside the repository.
const char* const FallbackOpenings[] = {
    "rnbqkb1r/pppp1ppp/5n2/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq - 2 3",
    "rnbqkb1r/pp2pppp/3p1n2/8/3NP3/8/PPP2PPP/RNBQKB1R w KQkq - 1 5",
    "r1bqkbnr/pppp1ppp/2n5/1B2p3/4P3/5N2/PPPP1PPP/RNBQK2R b KQkq - 3 3",
    "rnbqkb1r/ppp1pppp/5n2/3p4/2PP4/8/PP2PPPP/RNBQKBNR w KQkq - 1 3",
};

TEST(TestMatchCommandSlow, TwentyGamesFromOpeningPositions) {
    ScratchDirectory folder;
    {
        std::ofstream starts(folder.file("starts.txt"));
        std::ifstream openings(SharedDataPath("epd/openings_8moves_v3.epd"));
        std::string line;
        int lines = 0;
        while (lines < 50 && std::getline(openings, line)) starts << line << "\n", ++lines;
        if (lines == 0)
            for (const char* fen : FallbackOpenings) starts << fen << "\n";
    }
    CommandRun run = RunCorvid(folder, {"testmatch", "20", "starts.txt", "--hash", "16"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(Occurrences(run.output, "\nElo : "), 21) << run.output;
    for (int games = 0; games <= 20; ++games)
        EXPECT_EQ(Occurrences(run.output, "games: " + std::to_string(games) + " of 20 \n"), 1);
    EXPECT_EQ(Occurrences(run.output, "skipped lines"), 0);
    // "Match over: 20 of 20 games, A +w -l =d; ...; time forfeits: 0"
    size_t at = run.output.find("Match over: 20 of 20 games, A +");
    ASSERT_NE(at, std::string::npos) << run.output;
    int wins = -1, losses = -1, draws = -1, forfeits = -1;
    ASSERT_EQ(std::sscanf(run.output.c_str() + at,
                          "Match over: 20 of 20 games, A +%d -%d =%d; start positions: %*d "
                          "loaded, %*d skipped; time forfeits: %d",
                          &wins, &losses, &draws, &forfeits),
              4);
    EXPECT_EQ(wins + losses + draws, 20);
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
