// The headless test match as a developer runs it: its options reach the presets, the statistics
// come after every game, the games go to the PGN file, and mistakes in the options are refused.
#include "startup/test_match_command_support.h"

#include <fstream>
#include <gtest/gtest.h>

namespace corvid::test {
namespace {

TEST(TestMatchCommand, PlaysWithTheGivenPresetsAndWritesTheGames) {
    ScratchDirectory folder;
    // White mates in one: each game is one move.
    std::ofstream(folder.file("starts.txt")) << "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1\n"
                                             << "no position\n";
    CommandRun run =
        RunCorvid(folder, {"testmatch", "2", "starts.txt", "--time", "2+0.05", "--a", "name=X",
                           "--b", "depth=2,nullmove=off", "--pgn", "games.pgn"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("Test match: 2 games at 2+0.05 s"), std::string::npos);
    EXPECT_NE(run.output.find("A: depth=4,name=X\nB: depth=2,pawnstructure=0,nullmove=off\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(Occurrences(run.output, "\nElo : "), 3); // at the start and after each game
    EXPECT_NE(run.output.find("games: 2 of 2 "), std::string::npos);
    EXPECT_EQ(Occurrences(run.output, "\nskipped lines: 1"), 3);
    EXPECT_NE(run.output.find("Match over: 2 of 2 games, A +1 -1 =0; start positions: 1 loaded, "
                              "1 skipped; time forfeits: 0"),
              std::string::npos)
        << run.output;

    std::ifstream pgn(folder.file("games.pgn"));
    std::string text((std::istreambuf_iterator<char>(pgn)), std::istreambuf_iterator<char>());
    EXPECT_EQ(Occurrences(text, "[Result \"1-0\"]"), 2);
    EXPECT_EQ(Occurrences(text, "[White \"Corvid A\"]"), 1);
    EXPECT_EQ(Occurrences(text, "[White \"Corvid B\"]"), 1);
    EXPECT_EQ(Occurrences(text, "1. Ra1-a8#"), 2);
}

TEST(TestMatchCommand, RefusesWhatItDoesNotUnderstand) {
    ScratchDirectory folder;
    const std::vector<std::vector<std::string>> mistakes = {
        {"testmatch", "--b", "nullmove=maybe"}, {"testmatch", "--a", "depth=-1"},
        {"testmatch", "--a", "speed=10"},       {"testmatch", "--time", "1"},
        {"testmatch", "--time", "0+0"},         {"testmatch", "2", "a.txt", "b.txt"},
        {"testmatch", "--hash", "lots"},
    };
    for (const auto& args : mistakes) {
        CommandRun run = RunCorvid(folder, args);
        EXPECT_EQ(run.exitCode, 2) << args.back() << "\n" << run.output;
        EXPECT_NE(run.output.find("usage: corvid testmatch"), std::string::npos);
    }
    // Asked for, the options are help, not a mistake.
    CommandRun help = RunCorvid(folder, {"testmatch", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.find("usage: corvid testmatch"), 0u) << help.output;
}

} // namespace
} // namespace corvid::test
