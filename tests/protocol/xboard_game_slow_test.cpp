// A complete game under Debian's xboard front end (on a virtual X display): Corvid against
// fairymax (or itself when fairymax is absent) at a fast time control.
#include "support/engine_process.h"
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace corvid::test {
namespace {

bool Exists(const char* path) { return std::filesystem::exists(path); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(XboardGame, PlaysToAResultWithoutIllegalMoves) {
    if (!Exists("/usr/games/xboard") || !Exists("/usr/bin/xvfb-run"))
        GTEST_SKIP() << "xboard or xvfb-run not installed";
    char folderTemplate[] = "/tmp/corvid-xboard-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    std::string folder = folderTemplate;
    std::string corvid = BuiltProgram("corvid");
    std::string opponent = Exists("/usr/games/fairymax") ? "/usr/games/fairymax" : corvid;
    std::string pgn = folder + "/game.pgn";
    std::string command = "cd " + folder + " && timeout 300 xvfb-run -a /usr/games/xboard" +
                          " -fcp " + corvid + " -fd " + folder + " -scp " + opponent + " -sd " +
                          folder + " -mg 1 -tc 0:06 -inc 0.1 -sgf " + pgn +
                          " -popupExitMessage false -autoCallFlag true -testClaims true" +
                          " -debug -nameOfDebugFile " + folder + "/xboard.debug > " + folder +
                          "/xboard.out 2>&1";
    int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << ReadFile(folder + "/xboard.out");
    std::string game = ReadFile(pgn);
    std::string debug = ReadFile(folder + "/xboard.debug");
    EXPECT_NE(game.find("[White \"Corvid 1.5\"]"), std::string::npos) << game;
    bool decided = game.find("[Result \"1-0\"]") != std::string::npos ||
                   game.find("[Result \"0-1\"]") != std::string::npos ||
                   game.find("[Result \"1/2-1/2\"]") != std::string::npos;
    EXPECT_TRUE(decided) << game;
    EXPECT_EQ(game.find("llegal"), std::string::npos) << game;
    EXPECT_EQ(game.find("False"), std::string::npos) << game; // a false claim
    // Corvid plays white: it must not lose on time.
    EXPECT_EQ(game.find("White loses on time"), std::string::npos) << game;
    EXPECT_EQ(game.find("White's flag fell"), std::string::npos) << game;
    EXPECT_EQ(debug.find("Illegal move"), std::string::npos);
    std::error_code ignored;
    if (!HasFailure()) std::filesystem::remove_all(folder, ignored);
}

} // namespace
} // namespace corvid::test
