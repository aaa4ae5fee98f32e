// The book tool as users run it: build from PGN with parameters, list the moves of a FEN.
#include "book/book_test_helpers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace corvid {
namespace {

int run(const std::string& command, std::string& output) {
    return test::RunCommand(command, output);
}

TEST(BookTool, BuildsFromPgnAndListsTheMovesOfAFen) {
    const std::string tool = test::BuiltProgram("book_tool");
    if (!std::filesystem::exists(tool)) GTEST_SKIP() << "book_tool not built";
    test::ScratchDirectory dir;
    std::ofstream(dir.file("g.pgn")) << "[Result \"1-0\"]\n\n1. e4 e5 2. Nf3 1-0\n\n"
                                        "[Result \"0-1\"]\n\n1. e4 c5 2. Nf3 0-1\n\n"
                                        "[Result \"1/2-1/2\"]\n\n1. d4 d5 1/2-1/2\n";
    std::string out;
    ASSERT_EQ(
        run(tool + " build " + dir.file("w.obk") + " --sides w --to 1 " + dir.file("g.pgn"), out),
        0);
    EXPECT_EQ(out.rfind("3 games, 2 positions counted, 2 positions seen", 0), 0u) << out;
    EXPECT_EQ(std::filesystem::file_size(dir.file("w.obk")), 20u);

    ASSERT_EQ(run(tool + " build " + dir.file("all.obk") + " --sides wdl --min 2 --max-games 2 " +
                      dir.file("g.pgn"),
                  out),
              0);
    EXPECT_NE(out.find("2 games, 5 positions counted, 1 positions seen at least 2 times"),
              std::string::npos)
        << out;
    ASSERT_EQ(run(tool + " list --book " + dir.file("all.obk"), out), 0);
    EXPECT_NE(out.find("e2e4   e4     "), std::string::npos) << out;
    ASSERT_EQ(run(tool + " list --book " + dir.file("w.obk") +
                      " rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1",
                  out),
              0);
    EXPECT_NE(out.find("c7c5   c5           0"), std::string::npos) << out;
    EXPECT_EQ(out.find("e7e5"), std::string::npos) << out;

    // Bad parameters and files fail with a status, and write nothing.
    EXPECT_EQ(run(tool + " build " + dir.file("x.obk") + " --from 31 " + dir.file("g.pgn"), out),
              2);
    EXPECT_EQ(run(tool + " build " + dir.file("x.obk") + " " + dir.file("none.pgn"), out), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.file("x.obk")));
    EXPECT_EQ(run(tool + " list --book " + dir.file("none.obk"), out), 1);
    EXPECT_EQ(run(tool + " list --book " + dir.file("w.obk") + " not-a-fen", out), 1);
}

} // namespace
} // namespace corvid
