// Mates found through the protocol: the last info line before bestmove gives "score mate N".
#include "support/protocol_session.h"

#include <gtest/gtest.h>

namespace corvid::test {
namespace {

struct UciMate {
    const char* fen;
    int moves;
    const char* best; // nullptr when several moves mate as fast
};

TEST(UciMates, LastInfoLineGivesTheMateDistance) {
    const UciMate cases[] = {
        {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", 1, "d1d8"},
        {"r2qkb1r/pp2nppp/3p4/2pNN1B1/2BnP3/3P4/PPP2PPP/R2bK2R w KQkq - 1 1", 2, "d5f6"},
        {"6k1/pp4p1/2p5/2bp4/8/P5Pb/1P3rrP/2BRRN1K b - - 0 1", 2, "g2g1"},
        {"r5rk/5p1p/5R2/4B3/8/8/7P/7K w - - 0 1", 3, "f6a6"},
        {"7k/8/8/4K3/8/8/8/6R1 w - - 0 1", 4, nullptr},
    };
    auto engine = StartUci();
    for (const UciMate& c : cases) {
        engine->send(std::string("position fen ") + c.fen);
        engine->send("go depth " + std::to_string(2 * c.moves + 1));
        std::vector<std::string> seen;
        ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, &seen)) << c.fen;
        if (c.best) {
            EXPECT_EQ(MoveWord(seen.back()), c.best) << c.fen;
        }
        std::string lastInfo;
        for (const std::string& line : seen)
            if (line.rfind("info", 0) == 0) lastInfo = line;
        std::string expected = " score mate " + std::to_string(c.moves) + " ";
        EXPECT_NE(lastInfo.find(expected), std::string::npos) << c.fen << ": " << lastInfo;
    }
    // The mated side sees a negative distance (Kb8, Rg8 mate).
    engine->send("position fen k7/8/1K6/8/8/8/8/6R1 b - - 0 1");
    engine->send("go depth 4");
    std::vector<std::string> seen;
    ASSERT_TRUE(engine->waitFor("bestmove", ReplyWaitMs, &seen));
    bool mated = false;
    for (const std::string& line : seen) mated |= line.find(" score mate -1 ") != std::string::npos;
    EXPECT_TRUE(mated);
}

} // namespace
} // namespace corvid::test
