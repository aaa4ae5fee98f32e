#include "chess/game_record.h"
#include "chess/move_text.h"
#include "chess/perft_report.h"
#include "chess/zobrist.h"
#include "platform/engine_reporter.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvid {
namespace {

// Collects status texts and answers the promotion question.
struct RecordingReporter : EngineReporter {
    std::vector<std::string> texts;
    int promotion = 4;
    void statusText(const char* text) override { texts.push_back(text); }
    int promotionPiece() override { return promotion; }
};

struct ReporterScope {
    RecordingReporter reporter;
    ReporterScope() { setReporter(&reporter); }
    ~ReporterScope() { setReporter(nullptr); }
};

TEST(GameRecord, RecordsLongFormAndReplaysWithKeys) {
    test::StartTestGame(StartFen);
    const char* moves[] = {"e4",  "e5", "Nf3",  "Nc6", "Bb5", "a6",  "O-O",
                           "Nf6", "d4", "exd4", "e5",  "d5",  "exd6"};
    const char* expected[] = {"e2-e4  ", "e7-e5  ", "Ng1-f3 ", "Nb8-c6 ", "Bf1-b5 ",
                              "a7-a6  ", "O-O    ", "Ng8-f6 ", "d2-d4  ", "e5xd4  ",
                              "e4-e5  ", "d7-d5  ", "e5xd6  "};
    std::vector<uint64_t> keys = {gamePosition.key};
    for (const char* move : moves) {
        ASSERT_TRUE(ParseAndPlayMove(move, gamePosition, true, gameRecord)) << move;
        EXPECT_EQ(test::PositionInvariantError(gamePosition), "") << move;
        keys.push_back(gamePosition.key);
    }
    ASSERT_EQ(gameRecord.moveCount, 13);
    for (int i = 0; i < 13; ++i) EXPECT_STREQ(gameRecord.entries[i], expected[i]) << i;
    for (int i = 0; i <= 13; ++i) EXPECT_EQ(KeyHistory.At(i), keys[i]) << i;

    Position replay;
    GoToPly(gameRecord, replay, 5);
    EXPECT_EQ(replay.key, keys[5]);
    GoToPly(gameRecord, replay, 1000); // clamped to the record
    EXPECT_EQ(replay.key, keys[13]);
    GoToPly(gameRecord, replay, -7);
    EXPECT_EQ(replay.key, keys[0]);
    for (int i = 0; i <= 13; ++i) EXPECT_EQ(KeyHistory.At(i), keys[i]) << i;

    // Taking back to ply 4 and playing on overwrites that entry.
    TakeBackToPly(gameRecord, gamePosition, 4);
    EXPECT_EQ(gameRecord.moveCount, 4);
    EXPECT_EQ(gamePosition.key, keys[4]);
    ASSERT_TRUE(ParseAndPlayMove("Bc4", gamePosition, true, gameRecord));
    EXPECT_EQ(gameRecord.moveCount, 5);
    EXPECT_STREQ(gameRecord.entries[4], "Bf1-c4 ");
    EXPECT_STREQ(gameRecord.Entry(5), "");
    EXPECT_STREQ(gameRecord.Entry(-1), "");
}

TEST(GameRecord, NullMoveIsRecordedWithItsKeyAndRefusedInCheck) {
    test::StartTestGame(StartFen);
    ASSERT_TRUE(ParseAndPlayMove("e2e4", gamePosition, true, gameRecord));
    Position before = gamePosition;
    ASSERT_EQ(before.epSquare, MakeSquare(4, 5));
    ASSERT_TRUE(ParseAndPlayMove(NullMoveText, gamePosition, true, gameRecord));
    EXPECT_EQ(gamePosition.key, before.key ^ ZobristSide ^ ZobristEp[MakeSquare(4, 5)]);
    EXPECT_EQ(gamePosition.epSquare, NoSquare);
    EXPECT_EQ(gamePosition.sideToMove, White);
    EXPECT_EQ(gamePosition.ply, 2);
    EXPECT_EQ(test::PositionInvariantError(gamePosition), "");
    EXPECT_STREQ(gameRecord.entries[1], "Null");
    EXPECT_EQ(KeyHistory.At(2), gamePosition.key);

    ASSERT_TRUE(ParseAndPlayMove("d4", gamePosition, true, gameRecord));
    Position replay;
    GoToPly(gameRecord, replay, 3);
    EXPECT_EQ(replay.key, gamePosition.key);

    test::StartTestGame("4k3/8/8/8/8/8/8/R3K3 b - -");
    ASSERT_TRUE(ParseAndPlayMove("Kd7", gamePosition, true, gameRecord));
    ASSERT_TRUE(ParseAndPlayMove("Ra7", gamePosition, true, gameRecord)); // check
    Position inCheck = gamePosition;
    EXPECT_FALSE(ParseAndPlayMove("Null", gamePosition, true, gameRecord));
    EXPECT_EQ(gamePosition.key, inCheck.key);
    EXPECT_EQ(gameRecord.moveCount, 3);
}

TEST(GameRecord, LongGameKeepsEveryKeyAndStopsAtCapacity) {
    test::StartTestGame(StartFen);
    ReporterScope scope;
    const char* cycle[] = {"Nf3", "Nf6", "Ng1", "Ng8"};
    std::vector<uint64_t> keys = {gamePosition.key};
    int played = 0;
    while (ParseAndPlayMove(cycle[played % 4], gamePosition, true, gameRecord)) {
        keys.push_back(gamePosition.key);
        ++played;
        ASSERT_LE(played, MaxGamePly);
    }
    EXPECT_EQ(played, MaxGamePly);
    EXPECT_EQ(gameRecord.moveCount, MaxGamePly);
    EXPECT_EQ(gamePosition.ply, MaxGamePly);
    ASSERT_FALSE(scope.reporter.texts.empty());
    EXPECT_EQ(scope.reporter.texts.back(), "Hit Maximum Move Number");
    for (int ply : {0, 1, 795, 796, 800, 2000, MaxGamePly - 1, MaxGamePly})
        EXPECT_EQ(KeyHistory.At(ply), keys[size_t(ply)]) << ply;
    EXPECT_FALSE(PlayNullMoveInGame(gamePosition, true, gameRecord));

    Position replay;
    GoToPly(gameRecord, replay, MaxGamePly);
    EXPECT_EQ(replay.key, gamePosition.key);
    EXPECT_EQ(replay.ply, MaxGamePly);

    // The search's line above the game fits; writes beyond the table are dropped.
    EXPECT_TRUE(KeyHistory.Set(MaxGamePly + SearchStackPlies, 1));
    EXPECT_FALSE(KeyHistory.Set(KeyHistoryCapacity, 1));
    EXPECT_FALSE(KeyHistory.Set(-1, 1));
    EXPECT_EQ(KeyHistory.At(KeyHistoryCapacity), 0u);

    // A new set-up leaves no key of the old game behind, below or above its start ply.
    test::StartTestGame("4k3/8/8/8/8/8/8/4K3 b - -");
    EXPECT_EQ(KeyHistory.At(0), 0u);
    EXPECT_EQ(KeyHistory.At(1), gamePosition.key);
    EXPECT_EQ(KeyHistory.At(2), 0u);
    EXPECT_EQ(KeyHistory.At(MaxGamePly), 0u);
    EXPECT_EQ(gameRecord.moveCount, 0);
}

TEST(GameRecord, BlackToMoveStartLeavesEntryZeroEmpty) {
    test::StartTestGame("4k3/8/8/8/8/8/4P3/4K3 b - -");
    ASSERT_TRUE(ParseAndPlayMove("Kd7", gamePosition, true, gameRecord));
    ASSERT_TRUE(ParseAndPlayMove("e4", gamePosition, true, gameRecord));
    EXPECT_EQ(gameRecord.moveCount, 3);
    EXPECT_STREQ(gameRecord.entries[0], "");
    EXPECT_STREQ(gameRecord.entries[1], "Ke8-d7 ");
    Position replay;
    GoToPly(gameRecord, replay, 3);
    EXPECT_EQ(replay.key, gamePosition.key);
    // Out-of-range plies record nothing.
    Position far = gamePosition;
    far.ply = MaxGamePly;
    EXPECT_FALSE(RecordMove(gameRecord, NoMove, far));
    EXPECT_EQ(gameRecord.moveCount, 3);
}

int hookCalls = 0;
int lastHookPly = -1;
void CountingHook(int ply) {
    ++hookCalls;
    lastHookPly = ply;
}

TEST(GameRecord, HookRunsOnlyWhenAMoveExtendsTheGame) {
    test::StartTestGame(StartFen);
    hookCalls = 0;
    SetMoveRecordedHook(CountingHook);
    ASSERT_TRUE(ParseAndPlayMove("e4", gamePosition, true, gameRecord));
    ASSERT_TRUE(ParseAndPlayMove("e5", gamePosition, true, gameRecord));
    EXPECT_EQ(hookCalls, 2);
    EXPECT_EQ(lastHookPly, 1);
    GoToPly(gameRecord, gamePosition, 1); // stepping back through the list
    EXPECT_EQ(hookCalls, 2);
    ASSERT_TRUE(ParseAndPlayMove("c5", gamePosition, true, gameRecord)); // rewrites ply 1
    EXPECT_EQ(hookCalls, 2);
    GameRecord privateRecord;
    Position scratch = gamePosition;
    ASSERT_TRUE(ParseAndPlayMove("Nf3", scratch, true, privateRecord));
    EXPECT_EQ(hookCalls, 2);
    SetMoveRecordedHook(nullptr);
}

TEST(PlayMoveInGame, MatchingRules) {
    test::StartTestGame("k7/4P3/8/8/8/5N2/8/1N2K3 w - -");
    ReporterScope scope;
    Position start = gamePosition;
    // The same square twice, coordinates off the board or no target never match.
    EXPECT_FALSE(PlayMoveInGame(gamePosition, 1, 7, 1, 7, 6, false, gameRecord, 6));
    EXPECT_FALSE(PlayMoveInGame(gamePosition, 8, 7, 3, 6, 6, false, gameRecord, 6));
    EXPECT_FALSE(PlayMoveInGame(gamePosition, -1, -1, 3, -1, Knight, false, gameRecord, 6));
    EXPECT_EQ(gamePosition.key, start.key);
    // Both knights reach d2: a named file picks one, no file takes one of them.
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 5, -1, 3, 6, Knight, false, gameRecord, 6));
    EXPECT_EQ(gamePosition.board[MakeSquare(5, 5)], Empty);
    gamePosition = start;
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 1, -1, 3, 6, Knight, false, gameRecord, 6));
    EXPECT_EQ(gamePosition.board[MakeSquare(1, 7)], Empty);
    gamePosition = start;
    ASSERT_TRUE(PlayMoveInGame(gamePosition, -1, -1, 3, 6, Knight, false, gameRecord, 6));
    EXPECT_EQ(gamePosition.board[MakeSquare(3, 6)], MakePiece(White, Knight));
    // The wrong piece type does not match; with both from coordinates the type is not read.
    gamePosition = start;
    EXPECT_FALSE(PlayMoveInGame(gamePosition, -1, -1, 3, 6, Bishop, false, gameRecord, 6));
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 5, 5, 3, 6, Pawn, false, gameRecord, 6));
    gamePosition = start;

    // An unnamed promotion asks the desktop; without one it is a queen.
    scope.reporter.promotion = Knight;
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 4, 1, 4, 0, 6, false, gameRecord, 6));
    EXPECT_EQ(gamePosition.board[MakeSquare(4, 0)], MakePiece(White, Knight));
    gamePosition = start;
    setReporter(nullptr);
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 4, 1, 4, 0, 6, false, gameRecord, 6));
    EXPECT_EQ(gamePosition.board[MakeSquare(4, 0)], MakePiece(White, Queen));
    gamePosition = start;
    ASSERT_TRUE(PlayMoveInGame(gamePosition, 4, 1, 4, 0, 6, false, gameRecord, Rook));
    EXPECT_EQ(gamePosition.board[MakeSquare(4, 0)], MakePiece(White, Rook));
    EXPECT_EQ(test::PositionInvariantError(gamePosition), "");
}

TEST(ShowPerft, ReportsCountsTimeAndSpeedOfTheGamePosition) {
    test::StartTestGame(StartFen);
    ReporterScope scope;
    ShowPerft();
    ASSERT_EQ(scope.reporter.texts.size(), 2u);
    EXPECT_EQ(scope.reporter.texts[0], "Calculating Perft....");
    const std::string& report = scope.reporter.texts[1];
    EXPECT_EQ(report.rfind("Perft(1) = 20\nPerft(2) = 400\nPerft(3) = 8902\n"
                           "Perft(4) = 197281\nPerft(5) = 4865609\n\n",
                           0),
              0u)
        << report;
    EXPECT_NE(report.find(" seconds\n"), std::string::npos);
    EXPECT_EQ(gamePosition.key, GameStart.key);
}

} // namespace
} // namespace corvid
