// UCI sessions against the real executable.
#include "support/protocol_session.h"
#include "support/test_support.h"

#include <fstream>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace corvid::test {
namespace {

constexpr const char* MateInOne = "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1"; // Rd8#
constexpr const char* BackRankMated = "3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1";
constexpr const char* Stalemated = "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1";
constexpr const char* Kiwipete =
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1";

// The lines up to readyok (a sync point: everything sent before was handled).
std::vector<std::string> Sync(EngineProcess& engine) {
    std::vector<std::string> seen;
    engine.send("isready");
    EXPECT_TRUE(engine.waitFor("readyok", ReplyWaitMs, &seen));
    return seen;
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    int n = 0;
    for (const std::string& line : lines) n += line.compare(0, prefix.size(), prefix) == 0;
    return n;
}

long long PerftTotal(EngineProcess& engine, const std::string& position, int depth) {
    engine.send(position);
    engine.send("go perft " + std::to_string(depth));
    std::string line;
    if (!engine.waitFor("Nodes searched: ", ReplyWaitMs, nullptr, &line)) return -1;
    return std::stoll(line.substr(16));
}

TEST(UciProtocol, StartUpReplyByteForByte) {
    std::vector<std::string> reply;
    auto engine = StartUci(&reply);
    const std::vector<std::string> expected = {
        "id name Corvid 1.5",
        "id author Orrin",
        "option name Hash type spin default 48 min 6 max 900",
        "option name Low Priority type check default false",
        "option name Clear Hash type button",
        "option name Ponder type check",
        "option name OwnBook type check default true",
        "option name Debug Log type check default false",
        "option name UCI_Chess960 type check default false",
        "uciok",
    };
    EXPECT_EQ(reply, expected);
    // A book that cannot be loaded changes nothing in the reply (and nothing else is written).
    EngineProcess missingBook(BuiltProgram("corvid"),
                              {{"engineWB.dft", "BookPath=openingBook\\Missing.obk\n"}});
    missingBook.send("uci");
    std::vector<std::string> again;
    ASSERT_TRUE(missingBook.waitFor("uciok", ReplyWaitMs, &again));
    EXPECT_EQ(again, expected);
    missingBook.send("position startpos");
    missingBook.send("go depth 1");
    std::vector<std::string> seen;
    ASSERT_TRUE(missingBook.waitFor("bestmove", ReplyWaitMs, &seen));
    for (const std::string& line : seen)
        EXPECT_TRUE(line.rfind("info ", 0) == 0 || line.rfind("bestmove ", 0) == 0) << line;
}

TEST(UciProtocol, PositionCommandsSetTheGame) {
    auto engine = StartUci();
    EXPECT_EQ(PerftTotal(*engine, "position startpos", 1), 20);
    EXPECT_EQ(PerftTotal(*engine, "position startpos moves e2e4 e7e5", 1), 29);
    EXPECT_EQ(PerftTotal(*engine, std::string("position fen ") + Kiwipete, 1), 48);
    EXPECT_EQ(PerftTotal(*engine, std::string("position fen ") + Kiwipete, 3), 97862);
    // A promotion token followed by a shorter one: each token is read by itself.
    EXPECT_EQ(PerftTotal(*engine, "position fen 8/P6k/8/8/8/8/8/K7 w - - 0 1 moves a7a8q h7g6", 1),
              PerftTotal(*engine, "position fen Q7/8/6k1/8/8/8/8/K7 w - - 0 1", 1));
    // Castling in the king-to-rook form is read too.
    EXPECT_EQ(
        PerftTotal(*engine, "position fen r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1 moves e1h1 e8c8", 1),
        PerftTotal(*engine, "position fen 2kr3r/8/8/8/8/8/8/R4RK1 w - - 0 1", 1));
    // A game far longer than the record holds: knights out and back 400 times.
    std::string longGame = "position startpos moves";
    for (int i = 0; i < 400; ++i) longGame += " g1f3 g8f6 f3g1 f6g8";
    EXPECT_EQ(PerftTotal(*engine, longGame, 1), 20);
}

struct GoCase {
    const char* fen;
    const char* go;
};

// A position that cannot be set up is said so; until a valid one comes, every go answers no
// move rather than a move of the previous game.
TEST(UciProtocol, RejectedPositionGivesNoMoveUntilAValidOne) {
    auto engine = StartUci();
    engine->send("position startpos moves e2e4 e7e5");
    engine->send("position fen 4k3/8/8/8/8/8/8/q3K3 b - - 0 1"); // white in check, black to move
    std::vector<std::string> seen = Sync(*engine);
    ASSERT_EQ(CountPrefix(seen, "info string "), 1);
    engine->send("go depth 6");
    std::string line;
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    EXPECT_EQ(MoveWord(line), "(none)");
    engine->send("go infinite"); // held until stop, as any infinite search
    EXPECT_EQ(CountPrefix(engine->linesWithin(200), "bestmove"), 0);
    engine->send("stop");
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    EXPECT_EQ(MoveWord(line), "(none)");

    // An illegal move: reported, and the moves after it are not played on a game gone astray.
    engine->send("position startpos moves e2e4 e2e5 e7e5");
    seen.clear();
    ASSERT_TRUE(engine->waitFor("info string ", ReplyWaitMs, &seen, &line));
    EXPECT_NE(line.find("e2e5"), std::string::npos) << line;
    engine->send("go wtime 1000 btime 1000");
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    EXPECT_EQ(MoveWord(line), "(none)");

    engine->send("position startpos moves e2e4");
    engine->send("go depth 2");
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    PlayedGame game(StartFen);
    game.Play("e2e4");
    EXPECT_TRUE(game.Play(MoveWord(line))) << line;
}

TEST(UciProtocol, BareGoSearchesUntilStop) {
    auto engine = StartUci();
    engine->send("position startpos");
    engine->send("go");
    EXPECT_EQ(CountPrefix(engine->linesWithin(600), "bestmove"), 0);
    engine->send("stop");
    std::string line;
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    PlayedGame game(StartFen);
    EXPECT_TRUE(game.Play(MoveWord(line))) << line;
}

// Front ends show the last line beside the move played: they must agree, also when a fail high
// at the root was taken back.
TEST(UciProtocol, LastLineStartsWithTheBestMove) {
    auto engine = StartUci();
    const GoCase cases[] = {
        {"r1bqkb1r/pppp1ppp/2n2n2/4p3/2B1P3/5N2/PPPP1PPP/RNBQK2R w KQkq - 4 4", "go depth 7"},
        {Kiwipete, "go depth 5"},
        {StartFen, "go depth 2"},
        {"r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1", "go movetime 300"},
        {Kiwipete, "go movetime 300"},
    };
    for (const GoCase& c : cases) {
        engine->send("setoption name Clear Hash");
        engine->send(std::string("position fen ") + c.fen);
        engine->send(c.go);
        std::vector<std::string> seen;
        ASSERT_TRUE(engine->waitFor("bestmove", 60000, &seen)) << c.fen;
        ASSERT_GE(seen.size(), 2u);
        const std::string& last = seen[seen.size() - 2];
        std::vector<std::string> words = Words(last);
        auto pv = std::find(words.begin(), words.end(), "pv");
        ASSERT_TRUE(pv != words.end() && pv + 1 != words.end()) << last;
        EXPECT_EQ(pv[1], MoveWord(seen.back())) << c.fen << " " << c.go << ": " << last;
    }
}

TEST(UciProtocol, PerftPrintsOneLinePerMoveAndTheTotal) {
    auto engine = StartUci();
    engine->send("position startpos");
    engine->send("go perft 3");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("Nodes searched: ", ReplyWaitMs, &seen));
    EXPECT_EQ(seen.back(), "Nodes searched: 8902");
    std::regex moveLine("[a-h][1-8][a-h][1-8][qrbn]?: [0-9]+");
    int moveLines = 0;
    for (const std::string& line : seen) moveLines += std::regex_match(line, moveLine);
    EXPECT_EQ(moveLines, 20);
    Sync(*engine); // perft answers no bestmove
}

class UciGo : public ::testing::TestWithParam<GoCase> {};

TEST_P(UciGo, EveryGoGivesExactlyOneLegalBestMove) {
    const GoCase& c = GetParam();
    auto engine = StartUci();
    engine->send(std::string("position fen ") + c.fen);
    engine->send(c.go);
    std::string line;
    ASSERT_TRUE(engine->waitFor("bestmove", 20000, nullptr, &line)) << c.fen << " " << c.go;
    PlayedGame game(c.fen);
    EXPECT_TRUE(game.Play(MoveWord(line))) << line << " in " << c.fen;
    std::vector<std::string> words = Words(line);
    if (words.size() >= 4) {
        EXPECT_EQ(words[2], "ponder");
        EXPECT_TRUE(game.Play(words[3])) << line;
    }
    EXPECT_EQ(CountPrefix(Sync(*engine), "bestmove"), 0) << c.go;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, UciGo,
    ::testing::Values(GoCase{StartFen, "go depth 3"}, GoCase{StartFen, "go depth 0"},
                      GoCase{Kiwipete, "go nodes 3000"}, GoCase{Kiwipete, "go movetime 100"},
                      GoCase{StartFen, "go wtime 1000 btime 1000 winc 10 binc 10"},
                      GoCase{StartFen, "go wtime 300000 btime 300000 movestogo 40"},
                      GoCase{Kiwipete, "go wtime 500 btime 500 movestogo 0"},
                      GoCase{Kiwipete, "go wtime 20 btime 99999999999999999999 winc -3"},
                      GoCase{MateInOne, "go mate 1"},
                      GoCase{"8/8/8/8/8/5k2/8/6Kq w - - 0 1", "go depth 2"},
                      GoCase{Kiwipete, "go btime 20 wtime 20"}),
    [](const ::testing::TestParamInfo<GoCase>& param) { return std::to_string(param.index); });

TEST(UciProtocol, InfoLinesHaveTheUciForm) {
    auto engine = StartUci();
    engine->send(std::string("position fen ") + Kiwipete);
    engine->send("go depth 4");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, &seen));
    std::regex info("info depth [0-9]+ seldepth [0-9]+ score (cp|mate) -?[0-9]+ "
                    "(lowerbound |upperbound )?time [0-9]+ nodes [0-9]+ nps [0-9]+ pv"
                    "( [a-h][1-8][a-h][1-8][qrbn]?)+ ?");
    int infoLines = 0;
    for (const std::string& line : seen) {
        if (line.rfind("info", 0) != 0) continue;
        ++infoLines;
        EXPECT_TRUE(std::regex_match(line, info)) << line;
    }
    EXPECT_GE(infoLines, 2); // from the third iteration on, at least one line each
}

TEST(UciProtocol, MateScoresAreSentInMoves) {
    auto engine = StartUci();
    engine->send(std::string("position fen ") + MateInOne);
    engine->send("go depth 3");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, &seen));
    EXPECT_EQ(MoveWord(seen.back()), "d1d8");
    EXPECT_NE(seen[seen.size() - 2].find("score mate 1 "), std::string::npos) << seen.back();
    // Mated after the opponent's next move: mate -1.
    engine->send("position fen k7/8/1K6/8/8/8/8/7R b - - 0 1");
    engine->send("go depth 3");
    seen.clear();
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, &seen));
    bool mated = false;
    for (const std::string& line : seen) mated |= line.find("score mate -1 ") != std::string::npos;
    EXPECT_TRUE(mated);
}

TEST(UciProtocol, NoLegalMoveGivesBestMoveNone) {
    auto engine = StartUci();
    for (const char* fen : {BackRankMated, Stalemated}) {
        engine->send(std::string("position fen ") + fen);
        engine->send("go wtime 1000 btime 1000");
        std::string line;
        ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line)) << fen;
        EXPECT_EQ(MoveWord(line), "(none)") << fen;
    }
}

TEST(UciProtocol, InfiniteAndPonderHoldTheirBestMove) {
    auto engine = StartUci();
    // A mate in one ends the search by itself; the best move still waits for stop.
    engine->send(std::string("position fen ") + MateInOne);
    engine->send("go infinite");
    std::vector<std::string> early = engine->linesWithin(300);
    EXPECT_EQ(CountPrefix(early, "bestmove"), 0);
    std::vector<std::string> seen = Sync(*engine); // isready is answered during the search
    EXPECT_EQ(CountPrefix(seen, "bestmove"), 0);
    engine->send("stop");
    std::string line;
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    EXPECT_EQ(MoveWord(line), "d1d8");

    engine->send("position startpos moves e2e4");
    engine->send("go ponder wtime 2000 btime 2000");
    EXPECT_EQ(CountPrefix(engine->linesWithin(300), "bestmove"), 0);
    engine->send("ponderhit");
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, nullptr, &line));
    PlayedGame game(StartFen);
    game.Play("e2e4");
    EXPECT_TRUE(game.Play(MoveWord(line))) << line;

    engine->send("go ponder wtime 2000 btime 2000");
    EXPECT_EQ(CountPrefix(engine->linesWithin(200), "bestmove"), 0);
    engine->send("stop");
    EXPECT_TRUE(engine->waitFor("bestmove", ReplyWaitMs));
    EXPECT_EQ(CountPrefix(Sync(*engine), "bestmove"), 0);
}

TEST(UciProtocol, IsReadyIsAnsweredDuringASearch) {
    auto engine = StartUci();
    engine->send("position startpos");
    engine->send("go infinite");
    for (int i = 0; i < 5; ++i) {
        std::vector<std::string> seen = Sync(*engine);
        EXPECT_EQ(CountPrefix(seen, "bestmove"), 0);
    }
    engine->send("stop");
    EXPECT_TRUE(engine->waitFor("bestmove", ReplyWaitMs));
}

TEST(UciProtocol, EveryDeclaredOptionCanBeSet) {
    auto engine = StartUci();
    for (const char* line :
         {"setoption name Hash value 2", "setoption name Hash value 3",
          "setoption name Hash value 99999999999", "setoption name Hash value -5",
          "setoption name Hash value 16", "setoption name Low Priority value true",
          "setoption name Low Priority value false", "setoption name Clear Hash",
          "setoption name Ponder value true", "setoption name Ponder value false",
          "setoption name OwnBook value false", "setoption name OwnBook value true",
          "setoption name UCI_Chess960 value true", "setoption name UCI_Chess960 value false",
          "setoption name Style value x", "setoption name NoSuchOption value 1",
          "setoption name Debug Log value true"})
        engine->send(line);
    Sync(*engine);
    engine->send("position startpos");
    engine->send("go depth 2");
    EXPECT_TRUE(engine->waitFor("bestmove", ReplyWaitMs));
    engine->send("setoption name Debug Log value false");
    Sync(*engine);
    std::ifstream log(engine->folder() + "/testlog.txt");
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_NE(text.str().find("Received : position startpos"), std::string::npos);
    EXPECT_NE(text.str().find("Start Thinking...\n"), std::string::npos);
    EXPECT_NE(text.str().find("bestmove "), std::string::npos);
}

TEST(UciProtocol, Chess960CastlingIsWrittenKingToRook) {
    auto engine = StartUci();
    engine->send("setoption name UCI_Chess960 value true");
    engine->send("position fen 4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    engine->send("go perft 1");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("Nodes searched", ReplyWaitMs, &seen));
    EXPECT_EQ(CountPrefix(seen, "e1h1: 1"), 1);
    EXPECT_EQ(CountPrefix(seen, "e1g1"), 0);
}

TEST(UciProtocol, QuitAndEndOfInputEndTheProcess) {
    for (bool quit : {true, false}) {
        auto engine = StartUci();
        engine->send("position startpos");
        engine->send("go infinite");
        engine->linesWithin(100);
        if (quit)
            engine->send("quit");
        else
            engine->closeInput();
        EXPECT_EQ(engine->waitExit(ReplyWaitMs), 0) << (quit ? "quit" : "end of input");
    }
    EngineProcess silent(BuiltProgram("corvid"));
    silent.closeInput(); // no input at all, and no display: the desktop branch
    EXPECT_EQ(silent.waitExit(ReplyWaitMs), 0);
}

TEST(UciProtocol, LongLinesAreReadWhole) {
    EngineProcess engine(BuiltProgram("corvid"));
    // A first line far beyond a kilobyte: its tail must not turn into a command line.
    engine.send("uci" + std::string(3000, ' ') + "quit");
    ASSERT_TRUE(engine.waitFor("uciok", ReplyWaitMs));
    engine.send(std::string(3 << 20, 'x') + " quit"); // over the cap: the excess is dropped
    engine.send("position startpos\r");
    EXPECT_EQ(PerftTotal(engine, "position startpos moves e2e4\r", 1), 20);
    Sync(engine);
}

TEST(UciProtocol, StressGoStopAndPonderHitGiveOneBestMoveEach) {
    auto engine = StartUci();
    engine->send("position startpos moves e2e4 e7e5");
    constexpr int Rounds = 200;
    for (int i = 0; i < Rounds; ++i) {
        if (i % 2 == 0) {
            engine->send("go infinite");
            engine->send("stop");
        } else {
            engine->send("go ponder wtime 1000 btime 1000");
            engine->send("ponderhit");
        }
    }
    int bestMoves = 0;
    std::string line;
    while (bestMoves < Rounds && engine->readLine(line, 20000))
        bestMoves += line.rfind("bestmove", 0) == 0;
    EXPECT_EQ(bestMoves, Rounds);
    EXPECT_EQ(CountPrefix(Sync(*engine), "bestmove"), 0);
}

} // namespace
} // namespace corvid::test
