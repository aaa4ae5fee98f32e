// The set-up panel's model: entering it from the game, placing pieces, the FEN it shows and
// takes, "Done" through the engine's validation, and "Cancel".
#include "book/book_test_helpers.h"
#include "chess/fen.h"
#include "chess/game_record.h"
#include "control/game.h"
#include "gui/logic/analysis_lines.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/desktop.h"
#include "gui/logic/setup_panel.h"
#include "search/search_info.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

constexpr int a1 = 56, e1 = 60, h1 = 63, e8 = 4, a8 = 0, c5 = 26, d4 = 35;

class SetupPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        searchInfo.humanSide.store(EnginePlaysNeither);
        resetGame(nullptr);
        ASSERT_TRUE(playGameMoveText("e2e4"));
        showGame(state, takeGameSnapshot());
        registerWindowCommands(dispatcher, state, nullptr);
        registerSetupCommands(dispatcher, state);
        dispatcher.dispatch(cmd::SetupBoard);
    }
    void TearDown() override { searchInfo.humanSide.store(HumanWhite); }
    test::RecordingReporter reporter;
    WindowState state;
    CommandDispatcher dispatcher;
};

TEST_F(SetupPanelTest, OpensWithTheGamesPositionAndTheWhitePawn) {
    ASSERT_TRUE(state.setupMode);
    EXPECT_EQ(state.setupButton, 135);
    EXPECT_EQ(state.setupSideToMove, Black);
    EXPECT_EQ(state.setupCastleRights, 15);
    EXPECT_EQ(setupFen(state), "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq - 0 1");
    EXPECT_EQ(reporter.status.back(), "Board Setup Mode\n\n\nLeft Click : add piece\nRight "
                                      "Click: remove piece\n\nw a s d : piece shortcuts");
}

TEST_F(SetupPanelTest, ClicksDragsAndKeysBuildAPositionThatDoneStartsAGameFrom) {
    setupClearBoard(state);
    EXPECT_EQ(setupFen(state), "8/8/8/8/8/8/8/8 b KQkq - 0 1");
    // The white pawn is strewn by dragging; other pieces only by clicks.
    for (int square : {48, 49, 50}) setupDrag(state, square, true, false);
    pressKey(state, 'W', false, dispatcher); // white knight
    EXPECT_EQ(setupDrag(state, 51, true, false), ClickOutcome::Ignored);
    pressKey(state, 'W', false, dispatcher); // bishop
    pressKey(state, 'W', false, dispatcher); // rook
    pressSquare(state, a1);
    pressSquare(state, h1);
    pressKey(state, 'W', false, dispatcher); // queen
    pressKey(state, 'W', false, dispatcher); // king
    pressSquare(state, e1);
    pressKey(state, 'D', false, dispatcher); // black king
    pressSquare(state, e8);
    pressKey(state, 'S', false, dispatcher); // black queen
    pressSquare(state, c5);
    pressSquare(state, d4);
    rightClickSquare(state, d4, nullptr);
    state.setupSideToMove = White;
    state.setupCastleRights = 1 | 2 | 4; // no black rook: its right is dropped
    const std::string fen = "4k3/8/8/2q5/8/8/PPP5/R3K2R w KQk - 0 1";
    EXPECT_EQ(setupFen(state), fen);

    ASSERT_TRUE(finishSetup(state));
    EXPECT_FALSE(state.setupMode);
    EXPECT_EQ(reporter.status.back(), "Position Pasted.");
    char written[128];
    PositionToFen(written, gamePosition);
    EXPECT_STREQ(written, "4k3/8/8/2q5/8/8/PPP5/R3K2R w KQ - 0 1");
    EXPECT_EQ(gameMoveCount(), 0);
    EXPECT_EQ(state.game.moveCount, 0);
    EXPECT_TRUE(state.game.moveTexts.empty());
}

TEST_F(SetupPanelTest, DoneRefusesPositionsTheEngineCannotHoldAndStaysOpen) {
    const uint64_t gameKey = gamePosition.key;
    struct Case {
        const char* fen;
        const char* reason;
    };
    const Case cases[] = {
        {"4k3/8/8/8/8/8/8/K3K3 w - - 0 1", "Not a valid Position\n(Too many kings.)"},
        {"8/8/8/8/8/8/8/4K3 w - - 0 1", "Not a valid Position\n(Missing king or kings.)"},
        {"P3k3/8/8/8/8/8/8/4K3 w - - 0 1",
         "Not a valid Position\n(Pawn on the first or last rank.)"},
        {"4k3/8/8/8/8/N7/PPPPPPPP/NNNNKNNN w - - 0 1",
         "Not a valid Position\n(More than sixteen men a side.)"},
        {"4k3/8/8/8/8/8/PPPPPPP1/QQQ1K3 w - - 0 1",
         "Not a valid Position\n(More promoted pieces than missing pawns.)"},
        {"4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1", "Not a valid Position\n(King can be captured.)"},
    };
    for (const Case& c : cases) {
        Position position;
        CastleInfo info;
        // The board is put on the panel directly: the FEN field would refuse it too.
        ASSERT_FALSE(SetPositionFromFen(position, c.fen, &info));
        setupClearBoard(state);
        const std::string fen = c.fen;
        int square = 0;
        for (char ch : fen.substr(0, fen.find(' '))) {
            if (ch == '/') continue;
            if (ch >= '1' && ch <= '8') {
                square += ch - '0';
                continue;
            }
            state.setupBoard[square++] = uint8_t(std::string(PieceLetters).find(ch));
        }
        state.setupSideToMove = White;
        state.setupCastleRights = 0;
        EXPECT_EQ(setupFen(state), fen);
        EXPECT_FALSE(finishSetup(state)) << c.fen;
        EXPECT_TRUE(state.setupMode);
        EXPECT_EQ(reporter.status.back(), c.reason) << c.fen;
        EXPECT_EQ(gamePosition.key, gameKey);
    }
}

TEST_F(SetupPanelTest, TheFenFieldTakesValidPositionsOnly) {
    EXPECT_FALSE(setupFromFen(state, "4k3/8/8/8/8/8/8/4K2K w - - 0 1"));
    EXPECT_EQ(reporter.status.back(), "Not a valid Position\n(Too many kings.)");
    EXPECT_FALSE(setupFromFen(state, "4k3/4Q3/8/8/8/8/8/4K3 w - - 0 1"));
    EXPECT_EQ(reporter.status.back(), "Not a valid Position\n(King can be captured.)");
    ASSERT_TRUE(setupFromFen(state, "r3k3/8/8/8/8/8/8/4K3 b q - 3 20"));
    EXPECT_EQ(state.setupSideToMove, Black);
    EXPECT_EQ(state.setupCastleRights, 8);
    EXPECT_EQ(state.setupBoard[a8], MakePiece(Black, Rook));
    EXPECT_EQ(setupFen(state), "r3k3/8/8/8/8/8/8/4K3 b q - 0 1");
    setupStartBoard(state);
    EXPECT_EQ(setupFen(state), std::string(StartFen) + " 0 1");
    EXPECT_FALSE(setupFromFen(state, "nonsense"));
    EXPECT_EQ(setupFen(state), std::string(StartFen) + " 0 1");
}

TEST_F(SetupPanelTest, CancelAndTheSecondToggleReturnToTheGameUnchanged) {
    setupClearBoard(state);
    cancelSetup(state);
    EXPECT_FALSE(state.setupMode);
    EXPECT_EQ(state.game.ply, 1);
    EXPECT_EQ(gameMoveCount(), 1);
    EXPECT_EQ(state.shownBoard()[36], MakePiece(White, Pawn));
    dispatcher.dispatch(cmd::SetupBoard);
    setupClearBoard(state);
    dispatcher.dispatch(cmd::SetupBoard);
    EXPECT_FALSE(state.setupMode);
    EXPECT_EQ(state.shownBoard()[36], MakePiece(White, Pawn));
}

TEST(AnalysisPane, LinesStayWithinOneToSixStayWithinOneToSix) {
    WindowState state;
    searchInfo.analysisLines.store(1);
    EXPECT_FALSE(changeAnalysisLines(state, -1));
    for (int i = 0; i < 7; ++i) changeAnalysisLines(state, 1);
    EXPECT_EQ(analysisLineCountText(), "6");
    EXPECT_TRUE(changeAnalysisLines(state, -1));
    EXPECT_EQ(searchInfo.analysisLines.load(), 5);
    searchInfo.analysisLines.store(1);
}

} // namespace
} // namespace corvid
