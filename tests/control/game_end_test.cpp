// The game-end test and the resignation and draw-offer rules.
#include "control/game.h"
#include "control/game_end.h"
#include "control/settings.h"
#include "search/search_info.h"
#include "support/protocol_session.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

using test::FenPosition;

// Sets up the game from the FEN and plays the coordinate moves into it.
void SetGame(const char* fen, std::initializer_list<const char*> moves = {}) {
    FenPosition start(fen);
    resetGame(&start.position);
    for (const char* move : moves) ASSERT_TRUE(playGameMoveText(move)) << move;
}

GameEnd GameEndNow() { return gameEndKind(gamePosition, gameKeyHistory()); }

TEST(GameEnd, MateStalemateAndMaterial) {
    test::EnsureTables();
    SetGame("3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1");
    EXPECT_EQ(GameEndNow(), GameEnd::Checkmate);
    EXPECT_EQ(gameResultCode(gamePosition, GameEnd::Checkmate), GameWhiteWon);
    SetGame("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1");
    EXPECT_EQ(GameEndNow(), GameEnd::Stalemate);
    bool gameOverNow = false;
    EXPECT_TRUE(gameEndTest(false, gameOverNow));
    EXPECT_TRUE(gameOverNow);
    EXPECT_EQ(searchInfo.gameResult.load(), GameDrawn);
    SetGame("8/8/3k4/8/8/2KB4/8/8 w - - 0 1"); // king and bishop against king
    EXPECT_EQ(GameEndNow(), GameEnd::InsufficientMaterial);
    SetGame("8/8/3k4/8/8/2KNN3/8/8 w - - 0 1"); // two knights: not drawn by this rule
    EXPECT_EQ(GameEndNow(), GameEnd::None);
    SetGame("8/8/3k4/8/8/2K5/7R/8 w - - 0 1"); // a rook is enough
    EXPECT_EQ(GameEndNow(), GameEnd::None);
    EXPECT_FALSE(gameEndTest(false, gameOverNow));
    EXPECT_EQ(searchInfo.gameResult.load(), GameRunning);
}

TEST(GameEnd, RepetitionNeedsTwoEarlierOccurrences) {
    test::EnsureTables();
    SetGame(StartFen, {"g1f3", "g8f6", "f3g1", "f6g8"});
    EXPECT_EQ(earlierOccurrences(gamePosition, gameKeyHistory()), 1);
    EXPECT_EQ(GameEndNow(), GameEnd::None);
    SetGame(StartFen, {"g1f3", "g8f6", "f3g1", "f6g8", "g1f3", "g8f6", "f3g1", "f6g8"});
    EXPECT_EQ(earlierOccurrences(gamePosition, gameKeyHistory()), 2);
    EXPECT_EQ(GameEndNow(), GameEnd::Repetition);
    // A pawn move in between starts the count afresh.
    SetGame(StartFen, {"g1f3", "g8f6", "f3g1", "f6g8", "e2e3", "g8f6", "g1f3", "f6g8", "f3g1"});
    EXPECT_EQ(GameEndNow(), GameEnd::None);
}

TEST(GameEnd, FiftyMovesAfterOneHundredQuietHalfMoves) {
    test::EnsureTables();
    // Rooks shuffle: 100 quiet half-moves from a position right after a capture.
    const char* cycle[] = {"a1a2", "h8h7", "a2a1", "h7h8"};
    FenPosition start("7r/8/8/8/8/2k5/8/R3K3 w - - 0 1");
    resetGame(&start.position);
    int played = 0;
    for (; played < 99; ++played) ASSERT_TRUE(playGameMoveText(cycle[played % 4]));
    EXPECT_FALSE(fiftyMoveRuleReached(gamePosition));
    ASSERT_TRUE(playGameMoveText(cycle[played % 4]));
    // The count reads from the last irreversible ply (0 at the start), so one more.
    ASSERT_TRUE(playGameMoveText(cycle[++played % 4]));
    EXPECT_TRUE(fiftyMoveRuleReached(gamePosition));
    EXPECT_EQ(GameEndNow(), GameEnd::FiftyMoves); // overrides the repetitions on the way
}

class ResignAndDraw : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        drawAndResign.resignCount[0] = drawAndResign.resignCount[1] = 0;
        drawAndResign.drawCount = drawAndResign.acceptCount = 0;
        setBool(ActiveSettings, "Resign", true);
        setBool(ActiveSettings, "DrawOffers", true);
    }
    void TearDown() override {
        setBool(ActiveSettings, "Resign", true);
        setBool(ActiveSettings, "DrawOffers", true);
    }
};

TEST_F(ResignAndDraw, ResignsOnTheFourthBadScoreAQueenDown) {
    SetGame("k7/pp6/8/8/8/8/PP6/KQ6 b - - 0 1"); // black is a queen down
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(resignAndDrawRules(-700, Black)) << i;
    EXPECT_TRUE(resignAndDrawRules(-700, Black));
    EXPECT_EQ(drawAndResign.resignCount[Black], -2);
    // A better score in between starts the count again.
    drawAndResign.resignCount[Black] = 0;
    for (int i = 0; i < 3; ++i) resignAndDrawRules(-700, Black);
    resignAndDrawRules(-600, Black);
    EXPECT_FALSE(resignAndDrawRules(-700, Black));
    // With resigning switched off the engine plays on.
    setBool(ActiveSettings, "Resign", false);
    drawAndResign.resignCount[Black] = 0;
    for (int i = 0; i < 6; ++i) EXPECT_FALSE(resignAndDrawRules(-700, Black));
}

TEST_F(ResignAndDraw, EqualMaterialNeverResigns) {
    SetGame("k7/pp6/8/8/8/8/PP6/K7 b - - 0 1");
    for (int i = 0; i < 8; ++i) EXPECT_FALSE(resignAndDrawRules(-700, Black));
}

TEST_F(ResignAndDraw, DrawOfferAfterFiveDrawishSearchesThenEightMore) {
    // Ply above 40: score 0 is drawish at any material.
    FenPosition start("r3k3/pppppppp/8/8/8/8/PPPPPPPP/R3K3 w - - 0 30");
    start.position.ply = 60;
    resetGame(&start.position);
    int offers = 0, firstOffer = -1, secondOffer = -1;
    for (int i = 0; i < 14; ++i) {
        resignAndDrawRules(0, White);
        if (drawAndResign.drawCount == -3) {
            ++offers;
            (firstOffer < 0 ? firstOffer : secondOffer) = i;
        }
    }
    EXPECT_EQ(firstOffer, 4);
    EXPECT_EQ(secondOffer, 12);
    EXPECT_EQ(offers, 2);
    // A non-drawish score resets the count.
    resignAndDrawRules(50, White);
    EXPECT_EQ(drawAndResign.drawCount, 0);
    EXPECT_EQ(drawAndResign.drawAcceptable.load(), 0);
}

TEST_F(ResignAndDraw, AcceptsADrawOnlyLateWithFewPieces) {
    SetGame("4k3/4r3/8/8/8/8/4R3/4K3 w - - 0 1"); // light material
    for (int i = 0; i < 5; ++i) resignAndDrawRules(-10, White);
    EXPECT_EQ(drawAndResign.drawAcceptable.load(), 0);
    resignAndDrawRules(-10, White);
    EXPECT_EQ(drawAndResign.drawAcceptable.load(), 1);
    resignAndDrawRules(20, White); // a winning score ends the acceptance
    EXPECT_EQ(drawAndResign.drawAcceptable.load(), 0);
}

} // namespace
} // namespace corvid
