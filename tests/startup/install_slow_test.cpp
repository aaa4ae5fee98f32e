// The installed program: `cmake --install` puts the programs in bin and their data in
// share/corvid, and the program started from any other folder finds its book and bitbases.
#include "book/book_file.h"
#include "book/book_test_helpers.h"
#include "eval/bitbase.h"
#include "support/engine_process.h"
#include "support/protocol_session.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

namespace corvid::test {
namespace {

// The score of the last "info depth" line before "bestmove", after "go depth".
int SearchedScore(EngineProcess& engine, const std::string& fen, int depth) {
    engine.send("position fen " + fen);
    engine.send("go depth " + std::to_string(depth));
    std::vector<std::string> seen;
    EXPECT_TRUE(engine.waitFor("bestmove ", ReplyWaitMs, &seen)) << fen;
    int score = -100000;
    for (const std::string& line : seen) {
        std::vector<std::string> words = Words(line);
        for (size_t i = 0; i + 2 < words.size(); ++i)
            if (words[i] == "score" && words[i + 1] == "cp") score = std::stoi(words[i + 2]);
    }
    return score;
}

TEST(Install, TheInstalledProgramFindsItsBookAndBitbasesFromAnyFolder) {
    ScratchDirectory prefix;
    std::string out;
    ASSERT_EQ(RunCommand(std::string("'") + CORVID_CMAKE + "' --install '" + CORVID_BINARY_DIR +
                             "' --prefix '" + prefix.path() + "'",
                         out),
              0)
        << out;
    std::vector<std::string> files = {"bin/corvid", "bin/corvid_popcnt",
                                      "share/corvid/openingBook/TestBook.obk",
                                      "share/corvid/openingBook/testStartPositions.txt"};
    for (const char* name : BitbaseFileNames)
        files.push_back(std::string("share/corvid/bitbases/") + name);
    for (const std::string& file : files)
        EXPECT_TRUE(std::filesystem::is_regular_file(prefix.file(file))) << file;

    OpeningBook book;
    ASSERT_TRUE(BookLoad(book, prefix.file("share/corvid/openingBook/TestBook.obk")).opened);
    std::set<std::string> bookMoves = BookMovesAfter(book, "");
    ASSERT_GE(bookMoves.size(), 2u);

    for (const char* program : {"bin/corvid", "bin/corvid_popcnt"}) {
        // Started in a fresh temporary folder, away from the build tree and the prefix.
        EngineProcess engine(prefix.file(program));
        engine.send("uci");
        ASSERT_TRUE(engine.waitFor("uciok", ReplyWaitMs)) << program;
        engine.send("position startpos");
        engine.send("go wtime 60000 btime 60000");
        std::vector<std::string> seen;
        std::string line;
        ASSERT_TRUE(engine.waitFor("bestmove ", ReplyWaitMs, &seen, &line)) << program;
        EXPECT_EQ(seen.size(), 1u) << program << ": a book move comes without a search";
        EXPECT_TRUE(bookMoves.count(MoveWord(line))) << program << ": " << line;
        // King and pawn against king: a win the bitbase knows (the general rules score it
        // at about two pawns), and a draw it knows.
        EXPECT_GE(SearchedScore(engine, "8/8/1k6/8/8/8/4P3/4K3 w - - 0 1", 5), 600) << program;
        EXPECT_EQ(SearchedScore(engine, "8/8/8/8/8/2k5/P7/K7 w - - 0 1", 5), 0) << program;
    }
}

} // namespace
} // namespace corvid::test
