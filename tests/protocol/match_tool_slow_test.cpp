// Games through the shared match tool: the UCI engine with several lines and searches long
// enough for its progress lines, against the WinBoard engine with its options set, so that the
// tool reads every kind of line the engine writes.
#include "support/test_support.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace corvid::test {
namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(MatchTool, ReadsEveryLineOfBothProtocols) {
    std::string match = SharedDataPath("../tools/match/match");
    if (match.empty() || std::system("node --version > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "the match tool or Node.js is not there";
    char folderTemplate[] = "/tmp/corvid-match-XXXXXX";
    ASSERT_NE(mkdtemp(folderTemplate), nullptr);
    std::string folder = folderTemplate;
    for (const char* side : {"/a", "/b"}) {
        std::filesystem::create_directory(folder + side);
        std::ofstream(folder + side + "/engineWB.dft") << "BookEnabled=0\n"; // search every move
    }
    std::string corvid = BuiltProgram("corvid");
    std::string command = "cd " + folder + " && timeout 300 node " + match + " --a " + corvid +
                          " --a-dir " + folder + "/a --a-opt MultiPV=3 --a-tc movetime=1200" +
                          " --b " + corvid + " --b-proto xboard --b-dir " + folder + "/b" +
                          " --b-opt MultiPV=3 --b-opt Hash=16 --b-opt OwnBook=0 --b-tc 0:30+0" +
                          " --games 2 --max-moves 4 --pgn " + folder + "/games.pgn > " + folder +
                          "/summary.txt 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << ReadFile(folder + "/summary.txt");
    std::string summary = ReadFile(folder + "/summary.txt");
    EXPECT_NE(summary.find("Adjudicated at the move limit (4) 2"), std::string::npos) << summary;
    // The UCI side's moves carry the score and depth the tool read from its lines.
    std::string games = ReadFile(folder + "/games.pgn");
    EXPECT_TRUE(std::regex_search(games, std::regex("\\{[+-][0-9]+\\.[0-9]+/[0-9]+ "))) << games;
    std::error_code ignored;
    if (!HasFailure()) std::filesystem::remove_all(folder, ignored);
}

} // namespace
} // namespace corvid::test
