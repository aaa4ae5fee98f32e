// WinBoard (xboard protocol 2) sessions against the real executable.
#include "support/protocol_session.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cctype>
#include <regex>

namespace corvid::test {
namespace {

// Everything up to the pong (a sync point).
std::vector<std::string> Ping(EngineProcess& engine, int number) {
    std::vector<std::string> seen;
    engine.send("ping " + std::to_string(number));
    EXPECT_TRUE(engine.waitFor("pong " + std::to_string(number), ReplyWaitMs, &seen)) << number;
    return seen;
}

int CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
    int n = 0;
    for (const std::string& line : lines) n += line.compare(0, prefix.size(), prefix) == 0;
    return n;
}

TEST(WinBoardProtocol, FeaturesAfterXboardAndProtover) {
    std::vector<std::string> reply;
    auto engine = StartWinBoard(&reply);
    const std::vector<std::string> expected = {
        "feature done=0", "feature myname=\"Corvid 1.5\" name=1 setboard=1 ping=1",
        "feature done=1"};
    EXPECT_EQ(reply, expected);
    // A first line that is protover itself: no done=0 after done=1.
    EngineProcess direct(BuiltProgram("corvid"));
    direct.send("protover 2");
    std::vector<std::string> seen = Ping(direct, 1);
    EXPECT_EQ(CountPrefix(seen, "feature done=0"), 0);
    EXPECT_EQ(CountPrefix(seen, "feature done=1"), 1);
}

TEST(WinBoardProtocol, PlaysAGameUnderAClock) {
    auto engine = StartWinBoard();
    PlayedGame game(StartFen);
    engine->send("new");
    engine->send("level 40 0:30 0.5");
    engine->send("post");
    const char* ours[] = {"e2e4", "d2d4", "g1f3", "f1c4"};
    for (const char* move : ours) {
        engine->send("time 3000");
        engine->send("otim 3000");
        if (!game.Play(move)) break; // a move of ours is blocked by the engine's: stop here
        engine->send(move);
        std::vector<std::string> seen;
        std::string line;
        ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, &seen, &line));
        EXPECT_TRUE(game.Play(MoveWord(line))) << line;
        // Thinking output with post (the search reports lines from its third iteration on).
        int thinking = 0;
        for (const std::string& text : seen) thinking += !text.empty() && std::isdigit(text[0]);
        EXPECT_GE(thinking, 1);
    }
    // Thinking lines: depth, score, centiseconds, nodes, SAN line.
    engine->send("undo");
    engine->send("undo");
    engine->send("go");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, &seen));
    std::regex thinking("[0-9]+ -?[0-9]+ [0-9]+ [0-9]+ ([^ ]+ )+");
    for (const std::string& line : seen)
        if (line != seen.back()) {
            EXPECT_TRUE(std::regex_match(line, thinking)) << line;
        }
}

TEST(WinBoardProtocol, ForceMovesAndGoForTheSideToMove) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("force");
    engine->send("e2e4");
    engine->send("e7e5");
    engine->send("nopost");
    engine->send("sd 2");
    EXPECT_EQ(CountPrefix(Ping(*engine, 2), "move"), 0); // forced moves get no reply
    engine->send("go");
    std::vector<std::string> seen;
    std::string line;
    ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, &seen, &line));
    EXPECT_EQ(seen.size(), 1u); // nopost: no thinking lines
    PlayedGame game(StartFen);
    game.Play("e2e4");
    game.Play("e7e5");
    EXPECT_TRUE(game.Play(MoveWord(line))) << line;
}

TEST(WinBoardProtocol, IllegalMoveIsRefusedAndTheGameUnchanged) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("force");
    engine->send("e2e5");
    engine->send("e7e5x"); // the token is what counts
    std::vector<std::string> seen = Ping(*engine, 3);
    EXPECT_EQ(CountPrefix(seen, "Illegal move: e2e5"), 1);
    EXPECT_EQ(CountPrefix(seen, "Illegal move: e7e5x"), 1);
    engine->send("e2e4"); // still white to move
    EXPECT_EQ(CountPrefix(Ping(*engine, 4), "Illegal"), 0);
}

TEST(WinBoardProtocol, SetboardUndoRemoveAndEvaluate) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("force");
    engine->send("setboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    engine->send("undo"); // nothing to take back: nothing happens
    engine->send("remove");
    engine->send("e2e4");
    engine->send("e8d7");
    engine->send("remove"); // back to the set-up position, not the standard one
    engine->send("e2e3");
    std::vector<std::string> seen = Ping(*engine, 5);
    EXPECT_EQ(CountPrefix(seen, "Illegal"), 0);
    engine->send("evaluate");
    std::string line;
    ASSERT_TRUE(engine->waitFor("Evaluation: ", ReplyWaitMs, nullptr, &line));
    EXPECT_TRUE(std::regex_match(line, std::regex("Evaluation: -?[0-9]+")));
    engine->send("setboard this is no position");
    engine->send("e8d7"); // the game stayed where it was: black to move
    seen = Ping(*engine, 6);
    EXPECT_EQ(CountPrefix(seen, "Illegal"), 0);
}

TEST(WinBoardProtocol, MateAndRepetitionClaims) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("force");
    engine->send("setboard rnbqkbnr/pppp1ppp/8/4p3/6P1/5P2/PPPPP2P/RNBQKBNR b KQkq - 0 2");
    engine->send("d8h4");
    std::vector<std::string> seen = Ping(*engine, 7);
    EXPECT_EQ(CountPrefix(seen, "0-1 {Black Mates}"), 1);

    engine->send("new");
    engine->send("force");
    const char* shuffle[] = {"g1f3", "g8f6", "f3g1", "f6g8"};
    for (int i = 0; i < 7; ++i) engine->send(shuffle[i % 4]);
    EXPECT_EQ(CountPrefix(Ping(*engine, 8), "1/2-1/2"), 0); // one earlier occurrence only
    engine->send(shuffle[3]);
    EXPECT_EQ(CountPrefix(Ping(*engine, 9), "1/2-1/2 {Draw by Repetition}"), 1);
}

// A drawn ending the opponent's move leaves (no mating material, stalemate) is claimed at once,
// as front ends that do not adjudicate wait for it; the engine does not move.
TEST(WinBoardProtocol, DrawnEndingAfterTheOpponentsMoveIsClaimed) {
    auto engine = StartWinBoard();
    const char* cases[][3] = {
        {"4k3/8/8/8/8/8/6r1/4K2B w - - 0 1", "h1g2",
         "1/2-1/2 {Draw by insuffucient material to mate }"},
        {"k7/8/8/2Q5/8/8/8/7K w - - 0 1", "c5b6", "1/2-1/2 {Draw by Stalemate}"},
    };
    int ping = 40;
    for (const auto& c : cases) {
        engine->send("new"); // the engine plays black
        engine->send(std::string("setboard ") + c[0]);
        engine->send("st 0.3");
        engine->send(c[1]);
        std::vector<std::string> seen = Ping(*engine, ping++);
        seen.erase(seen.end() - 1); // the pong
        EXPECT_EQ(seen, std::vector<std::string>{c[2]}) << c[0];
        EXPECT_EQ(CountPrefix(engine->linesWithin(500), "move"), 0) << c[0];
    }
}

// "new" in analyze mode analyses the start position and stays in analyze mode until "exit".
TEST(WinBoardProtocol, NewWhileAnalysingKeepsAnalysing) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("post");
    engine->send("force");
    engine->send("e2e4");
    engine->send("analyze");
    engine->linesWithin(200);
    engine->send("new");
    Ping(*engine, 50);
    auto thinking = [](const std::vector<std::string>& lines) {
        int n = 0;
        for (const std::string& line : lines) n += !line.empty() && std::isdigit(line[0]);
        return n;
    };
    std::vector<std::string> seen = engine->linesWithin(400);
    EXPECT_GE(thinking(seen), 1) << "the new position is analysed";
    engine->send("e2e4"); // the start position: legal, and no reply move in analyze mode
    seen = engine->linesWithin(400);
    EXPECT_EQ(CountPrefix(seen, "move"), 0);
    EXPECT_EQ(CountPrefix(seen, "Illegal"), 0);
    EXPECT_GE(thinking(seen), 1);
    engine->send("exit");
    Ping(*engine, 51);
    EXPECT_TRUE(engine->linesWithin(300).empty());
}

TEST(WinBoardProtocol, ResultCommentIsNotCommands) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("force");
    engine->send("e2e4");
    engine->send("result 1-0 {new game, quit now}");
    engine->send("e7e5"); // no new game started: black is to move
    std::vector<std::string> seen = Ping(*engine, 10);
    EXPECT_EQ(CountPrefix(seen, "Illegal"), 0);
}

TEST(WinBoardProtocol, AnalyzeExitPingAndMoveNow) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("post");
    engine->send("analyze");
    engine->linesWithin(200);
    // Ping during analysis answers at once and the analysis goes on.
    std::vector<std::string> seen = Ping(*engine, 11);
    EXPECT_EQ(CountPrefix(seen, "move"), 0);
    engine->send("e2e4"); // a move restarts the analysis on the new position
    engine->linesWithin(100);
    engine->send("exit");
    Ping(*engine, 12);
    EXPECT_TRUE(engine->linesWithin(300).empty()); // analysis stopped
    engine->send("new");

    // A long think: "?" makes it move now; a ping during a think comes after the move.
    engine->send("st 100");
    engine->send("nopost");
    engine->send("e2e4");
    engine->linesWithin(200);
    engine->send("?");
    std::string line;
    ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, nullptr, &line));
    engine->send("d2d4");
    engine->linesWithin(200);
    seen = Ping(*engine, 13);
    ASSERT_GE(seen.size(), 2u);
    EXPECT_EQ(seen[seen.size() - 2].rfind("move ", 0), 0u);
}

TEST(WinBoardProtocol, PonderingHitAndMiss) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("hard");
    engine->send("level 0 1 0");
    PlayedGame game(StartFen);
    // Over several moves the engine ponders on each of its expected replies; hits and misses
    // both end in exactly one move per turn of ours.
    for (const char* ours : {"e2e4", "d2d4", "b1c3", "g1f3", "f1e2", "e1g1"}) {
        if (!game.Play(ours)) break;
        engine->send("time 1000");
        engine->send("otim 1000");
        engine->send(ours);
        std::vector<std::string> seen;
        std::string line;
        ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, &seen, &line)) << ours;
        EXPECT_TRUE(game.Play(MoveWord(line))) << line;
        engine->linesWithin(100); // let it ponder a little
        // A ping while pondering is answered at once and does not make the engine move.
        EXPECT_EQ(CountPrefix(Ping(*engine, 100), "move "), 0);
    }
    engine->send("easy");
    std::vector<std::string> seen = Ping(*engine, 14);
    EXPECT_EQ(CountPrefix(seen, "move "), 0);
}

class WinBoardResign : public ::testing::TestWithParam<bool> {};

// With the setting Resign off (engineWB.dft in the working folder) the engine plays on.
TEST_P(WinBoardResign, ResignsWhenHopelesslyBehindUnlessSwitchedOff) {
    bool resignAllowed = GetParam();
    std::vector<std::pair<std::string, std::string>> files = {
        {"engineWB.dft", resignAllowed ? "BookEnabled=0\n" : "BookEnabled=0\r\nResign=0\r\n"}};
    auto engine = std::make_unique<EngineProcess>(BuiltProgram("corvid"), files);
    engine->send("xboard");
    engine->send("protover 2");
    ASSERT_TRUE(engine->waitFor("feature done=1", ReplyWaitMs));
    engine->send("new");
    engine->send("force");
    engine->send("setboard k7/pp6/8/8/8/8/PP6/KQ5R b - - 0 1");
    engine->send("sd 3");
    engine->send("go"); // the engine plays black
    PlayedGame game("k7/pp6/8/8/8/8/PP6/KQ5R b - - 0 1");
    const char* ours[] = {"a2a3", "b2b3", "a3a4", "b3b4", "h1h2", "h2h1"};
    bool resigned = false;
    for (int i = 0; i < 6 && !resigned; ++i) {
        std::string line;
        ASSERT_TRUE(engine->waitFor("", ReplyWaitMs, nullptr, &line));
        if (line == "resign") {
            resigned = true;
            break;
        }
        if (line.rfind("move ", 0) != 0) {
            --i;
            continue;
        }
        ASSERT_TRUE(game.Play(MoveWord(line))) << line;
        ASSERT_TRUE(game.Play(ours[i]));
        engine->send(ours[i]);
    }
    EXPECT_EQ(resigned, resignAllowed);
}

INSTANTIATE_TEST_SUITE_P(Setting, WinBoardResign, ::testing::Bool());

} // namespace
} // namespace corvid::test

namespace corvid::test {
namespace {

std::string FileText(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) return "";
    std::string text;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    std::fclose(file);
    return text;
}

TEST(WinBoardProtocol, FinishedGamesAreLoggedAsPgn) {
    auto engine = StartWinBoard();
    engine->send("name Tester");
    engine->send("new");
    engine->send("force");
    engine->send("e2e4");
    engine->send("e7e5");
    engine->send("result 1-0 {too short to log}"); // two plies: not logged
    Ping(*engine, 20);
    std::string log = engine->folder() + "/WinboardGames.pgn";
    EXPECT_EQ(FileText(log), "");
    engine->send("new"); // the engine plays black
    engine->send("sd 1");
    PlayedGame game(StartFen);
    for (const char* move : {"e2e4", "g1f3"}) {
        if (!game.Play(move)) break;
        engine->send(move);
        std::string line;
        ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, nullptr, &line));
        ASSERT_TRUE(game.Play(MoveWord(line)));
    }
    engine->send("result 0-1 {Black wins}");
    engine->send("new");
    engine->send("force");
    engine->send("setboard 4k3/8/8/8/8/8/4P3/4K3 w - - 0 1");
    for (const char* move : {"e2e4", "e8d7", "e4e5"}) engine->send(move);
    engine->send("result 1/2-1/2");
    Ping(*engine, 21);
    std::string text = FileText(log);
    EXPECT_NE(text.find("[White \"Tester\"]"), std::string::npos) << text;
    EXPECT_NE(text.find("[Black \"Corvid 1.5\"]"), std::string::npos) << text;
    EXPECT_NE(text.find("[Result \"0-1\"]"), std::string::npos) << text;
    EXPECT_NE(text.find("1. e2-e4 "), std::string::npos) << text;
    EXPECT_NE(text.find("[Black \"Tester\"]"), std::string::npos) << text; // force: neither
    EXPECT_NE(text.find("[Result \"1/2-1/2\"]"), std::string::npos) << text;
    EXPECT_NE(text.find("[FEN \"4k3/8/8/8/8/8/4P3/4K3 w - -"), std::string::npos) << text;
    EXPECT_EQ(text.find("[Result \"1-0\"]"), std::string::npos) << text;
}

// Plays the moves (skipping any the engine's replies made illegal) and waits for each reply.
void PlayAgainst(EngineProcess& engine, PlayedGame& game, std::vector<const char*> moves) {
    for (const char* move : moves) {
        if (!game.Play(move)) continue;
        engine.send(move);
        std::string line;
        ASSERT_TRUE(engine.waitFor("move ", ReplyWaitMs, nullptr, &line)) << move;
        ASSERT_TRUE(game.Play(MoveWord(line))) << line;
    }
}

// An aborted game is logged as unfinished, with the time control that was in force.
TEST(WinBoardProtocol, LogKeepsAbortedResultAndTheControlInForce) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("st 0.2");
    PlayedGame first(StartFen);
    PlayAgainst(*engine, first, {"e2e4", "d2d4"});
    engine->send("result *");
    engine->send("new");
    engine->send("level 40 5 0");
    engine->send("sd 2");
    PlayedGame second(StartFen);
    PlayAgainst(*engine, second, {"g1f3", "g2g3"});
    engine->send("result 1-0 {White wins}");
    Ping(*engine, 22);
    std::string text = FileText(engine->folder() + "/WinboardGames.pgn");
    size_t split = text.find("[Event", 1);
    ASSERT_NE(split, std::string::npos) << text;
    std::string aborted = text.substr(0, split), won = text.substr(split);
    EXPECT_NE(aborted.find("[Result \"*\"]"), std::string::npos) << aborted;
    EXPECT_NE(aborted.find("[TimeControl \"0.2/move\"]"), std::string::npos) << aborted;
    EXPECT_NE(won.find("[Result \"1-0\"]"), std::string::npos) << won;
    EXPECT_NE(won.find("[TimeControl \"40/300\"]"), std::string::npos) << won;
}

// A result whose comment merely contains "accepted" still ends the game: pondering stops and
// the game is logged.
TEST(WinBoardProtocol, DrawAcceptedResultEndsTheGame) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("hard");
    engine->send("post");
    engine->send("level 0 1 0");
    PlayedGame game(StartFen);
    PlayAgainst(*engine, game, {"e2e4", "d2d4"});
    engine->linesWithin(200); // pondering
    engine->send("result 1/2-1/2 {Draw accepted}");
    Ping(*engine, 23);
    EXPECT_TRUE(engine->linesWithin(400).empty()) << "still thinking after the result";
    std::string text = FileText(engine->folder() + "/WinboardGames.pgn");
    EXPECT_NE(text.find("[Result \"1/2-1/2\"]"), std::string::npos) << text;
}

} // namespace
} // namespace corvid::test

#include <csignal>

namespace corvid::test {
namespace {

TEST(WinBoardProtocol, InterruptSignalIsIgnored) {
    auto engine = StartWinBoard();
    kill(engine->pid(), SIGINT);
    Ping(*engine, 30);
    engine->send("quit");
    EXPECT_EQ(engine->waitExit(ReplyWaitMs), 0);
}

TEST(WinBoardProtocol, AFirstLineCommandRunsOnceTheEngineIsUp) {
    EngineProcess engine(BuiltProgram("corvid"));
    engine.send("e2e4"); // the front end's move as the very first line
    std::string line;
    ASSERT_TRUE(engine.waitFor("feature done=0", ReplyWaitMs));
    ASSERT_TRUE(engine.waitFor("move ", ReplyWaitMs, nullptr, &line));
    PlayedGame game(StartFen);
    game.Play("e2e4");
    EXPECT_TRUE(game.Play(MoveWord(line))) << line;
}

} // namespace
} // namespace corvid::test

#include "chess/coordinate_notation.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"

namespace corvid::test {
namespace {

// The coordinate text of the legal move written in SAN, or "".
std::string CoordinateOfSan(const Position& position, const std::string& san) {
    MoveList list;
    GenerateLegalMoves(position, list);
    for (int i = 0; i < list.count; ++i) {
        char text[MoveTextBufferSize];
        FormatMove(text, list.moves[i], position, SanForm);
        std::string written = text;
        while (!written.empty() && written.back() == ' ') written.pop_back();
        if (written == san) {
            FormatCoordinate(text, list.moves[i], position, false);
            return text;
        }
    }
    return "";
}

TEST(WinBoardProtocol, PonderHitAndMissBothLeadToOneLegalReply) {
    auto engine = StartWinBoard();
    engine->send("new");
    engine->send("hard");
    engine->send("post");
    engine->send("level 0 1 0");
    PlayedGame game(StartFen);
    std::string ours = "e2e4";
    int hits = 0;
    for (int turn = 0; turn < 6; ++turn) {
        ASSERT_TRUE(game.Play(ours)) << ours;
        engine->send("time 1000");
        engine->send("otim 1000");
        engine->send(ours);
        std::string line;
        ASSERT_TRUE(engine->waitFor("move ", ReplyWaitMs, nullptr, &line)) << ours;
        ASSERT_TRUE(game.Play(MoveWord(line))) << line;
        // While the engine ponders its thinking lines name the expected reply: "{ Nf6 } ".
        std::string expected;
        for (const std::string& thinking : engine->linesWithin(150)) {
            size_t open = thinking.find("{ "), close = thinking.find(" }");
            if (open != std::string::npos && close != std::string::npos && close > open)
                expected = thinking.substr(open + 2, close - open - 2);
        }
        // Alternate: play the expected reply (a hit), then any other legal move (a miss).
        std::string hit = expected.empty() ? "" : CoordinateOfSan(*game.position, expected);
        MoveList legal;
        GenerateLegalMoves(*game.position, legal);
        if (legal.count == 0) break; // the engine's move ended the game
        char other[16];
        FormatCoordinate(other, legal.moves[0], *game.position, false);
        if (other == hit && legal.count > 1)
            FormatCoordinate(other, legal.moves[1], *game.position, false);
        if (turn % 2 == 0 && !hit.empty()) {
            ours = hit;
            ++hits;
        } else {
            ours = other;
        }
    }
    EXPECT_GE(hits, 1);
}

} // namespace
} // namespace corvid::test
