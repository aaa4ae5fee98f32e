// The engine playing from its book through the real executable: book moves without a search,
// varied between games, OwnBook off, a damaged book, and learning after a lost WinBoard game.
#include "book/book_file.h"
#include "book/book_moves.h"
#include "book/book_test_helpers.h"
#include "support/protocol_session.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <set>

namespace corvid::test {
namespace {

// The default book the build puts next to the programs.
std::string defaultBookFile() { return BuiltProgram("openingBook/TestBook.obk"); }

void appendMove(std::string& moves, const std::string& move) {
    if (!moves.empty()) moves += ' ';
    moves += move;
}

std::string positionCommand(const std::string& moves) {
    return moves.empty() ? "position startpos" : "position startpos moves " + moves;
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    int n = 0;
    for (const std::string& line : lines) n += line.compare(0, prefix.size(), prefix) == 0;
    return n;
}

TEST(BookPlay, UciAnswersFromTheBookAndVariesBetweenGames) {
    std::string bookFile = defaultBookFile();
    OpeningBook book;
    ASSERT_TRUE(BookLoad(book, bookFile).opened);

    auto engine = StartUci(nullptr, true);
    std::set<std::string> firstMoves;
    int searched = 0;
    for (int game = 0; game < 12; ++game) {
        engine->send("ucinewgame");
        std::string moves;
        // The first moves of a game come from the book without a search (no info lines).
        for (int ply = 0; ply < 4; ++ply) {
            std::set<std::string> expected = BookMovesAfter(book, moves);
            if (expected.empty()) break;
            engine->send(positionCommand(moves));
            engine->send("go wtime 60000 btime 60000");
            std::vector<std::string> seen;
            std::string line;
            ASSERT_TRUE(engine->waitFor("bestmove ", ReplyWaitMs, &seen, &line));
            searched += CountPrefix(seen, "info ");
            std::string move = MoveWord(line);
            EXPECT_TRUE(expected.count(move)) << "after '" << moves << "': " << line;
            if (ply == 0) firstMoves.insert(move);
            appendMove(moves, move);
        }
    }
    EXPECT_EQ(searched, 0);
    EXPECT_GE(firstMoves.size(), 3u);

    // With the book switched off the engine searches.
    engine->send("setoption name OwnBook value false");
    engine->send("position startpos");
    engine->send("go depth 3");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("bestmove ", ReplyWaitMs, &seen));
    EXPECT_GE(CountPrefix(seen, "info depth"), 1);
    engine->send("quit");
    EXPECT_EQ(engine->waitExit(ReplyWaitMs), 0);
}

TEST(BookPlay, ADamagedBookNeverStopsTheEngine) {
    // A book of random records: the engine plays legal moves and goes on.
    std::string noise(40007, '\0');
    uint32_t state = 12345;
    for (char& c : noise) c = char((state = state * 1103515245u + 12345u) >> 24);
    for (const std::string& content : {noise, std::string()}) {
        EngineProcess engine(BuiltProgram("corvid"),
                             {{"engineWB.dft", "BookPath=Noise.obk\n"}, {"Noise.obk", content}});
        engine.send("uci");
        ASSERT_TRUE(engine.waitFor("uciok", ReplyWaitMs));
        PlayedGame game(StartFen);
        std::string moves;
        for (int ply = 0; ply < 4; ++ply) {
            engine.send(positionCommand(moves));
            engine.send("go depth 2");
            std::string line;
            ASSERT_TRUE(engine.waitFor("bestmove ", ReplyWaitMs, nullptr, &line));
            ASSERT_TRUE(game.Play(MoveWord(line))) << line;
            appendMove(moves, MoveWord(line));
        }
        engine.send("quit");
        EXPECT_EQ(engine.waitExit(ReplyWaitMs), 0);
        // Nothing was written beside the book.
        EXPECT_EQ(std::filesystem::file_size(engine.folder() + "/Noise.obk"), content.size());
    }
}

TEST(BookPlay, ALostWinBoardGameTakesTheEnginesBookMoveAway) {
    EnsureTables();
    ScratchDirectory dir;
    FenPosition start(StartFen);
    OpeningBook book;
    BookAdd(book, KeyAfter(start.position, "e2e4"), 0, true);
    ASSERT_EQ(BookSave(book, 0, dir.file("mini.obk")), 1);
    std::ifstream in(dir.file("mini.obk"), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});

    EngineProcess engine(
        BuiltProgram("corvid"),
        {{"engineWB.dft", "BookPath=mini.obk\nLogGames=0\n"}, {"mini.obk", bytes}});
    engine.send("xboard");
    engine.send("protover 2");
    ASSERT_TRUE(engine.waitFor("feature done=1", ReplyWaitMs));
    auto playWhite = [&](std::vector<std::string>& seen) {
        engine.send("new");
        engine.send("post");
        engine.send("sd 2");
        engine.send("go");
        std::string line;
        EXPECT_TRUE(engine.waitFor("move ", ReplyWaitMs, &seen, &line));
        return MoveWord(line);
    };
    std::vector<std::string> seen;
    EXPECT_EQ(playWhite(seen), "e2e4");
    for (const std::string& text : seen) // no thinking: a book move
        EXPECT_FALSE(!text.empty() && std::isdigit(text[0])) << text;
    engine.send("e7e5");
    ASSERT_TRUE(engine.waitFor("move ", ReplyWaitMs));
    engine.send("result 0-1 {White resigns}");
    // The engine (white) lost: its book move is gone, so the next game starts with a search.
    seen.clear();
    playWhite(seen);
    int thinking = 0; // the search's lines start with the depth
    for (const std::string& text : seen) thinking += !text.empty() && std::isdigit(text[0]);
    EXPECT_GE(thinking, 1);
    // The book file itself is not rewritten by learning.
    EXPECT_EQ(std::filesystem::file_size(engine.folder() + "/mini.obk"), 10u);
    engine.send("quit");
    EXPECT_EQ(engine.waitExit(ReplyWaitMs), 0);
}

} // namespace
} // namespace corvid::test
