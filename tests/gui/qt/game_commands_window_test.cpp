// The game commands through the real window and its menus: every menu item reaches its
// command, PGN files, the system clipboard, who plays, the Develop displays, Chess960 castling
// by mouse, the board modes, move-now against "<|", Play PV and dropped text.
#include "window_test_support.h"

#include "chess/game_record.h"
#include "chess/perft.h"
#include "chess/pgn.h"
#include "control/game.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/command_table.h"
#include "gui/logic/desktop.h"
#include "gui/qt/board_view.h"
#include "gui/qt/command_ports.h"
#include "gui/qt/side_panel.h"
#include "gui/qt/window_dialog_services.h"
#include "search/search_info.h"
#include "search/transposition_table.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace corvid::test {

namespace {

QString statusText(MainWindow& window) {
    auto* label = window.sidePanel()->findChild<QLabel*>(controlName(122));
    return label ? label->text() : QString();
}

std::vector<std::string> recordedMoves() {
    return std::vector<std::string>(gameRecord.entries, gameRecord.entries + gameRecord.moveCount);
}

class CommandWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        char pattern[] = "/tmp/corvid_window_XXXXXX";
        folder = mkdtemp(pattern);
        ports = window->findChild<CommandPorts*>("commandPorts");
        ASSERT_NE(ports, nullptr);
        ports->commands().startDirectory = folder;
        pickers = std::make_unique<ChosenFile>(*window, chosenFile);
        window->setDialogServices(pickers.get());
    }
    void TearDown() override {
        WindowTest::TearDown();
        std::filesystem::remove_all(folder);
    }
    bool waitForStatus(const QString& text) {
        return waitFor([&] { return statusText(*window) == text; }, 5000);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(window->boardView(), k, modifiers);
        QApplication::processEvents();
    }

    std::string folder;
    CommandPorts* ports = nullptr;
    // The window's own message boxes and beep, with the file the test chooses.
    struct ChosenFile : WindowDialogServices {
        ChosenFile(MainWindow& window, const std::string& file)
            : WindowDialogServices(window), chosen(file) {}
        std::string openFileName(const std::string&, const std::string&,
                                 const std::string&) override {
            return chosen;
        }
        std::string saveFileName(const std::string&, const std::string&,
                                 const std::string&) override {
            return chosen;
        }
        const std::string& chosen;
    };
    std::string chosenFile;
    std::unique_ptr<ChosenFile> pickers;
};

constexpr int b1 = 57, g1 = 62, h1 = 63, f1 = 61;

} // namespace

TEST_F(CommandWindowTest, EveryMenuItemReachesItsCommand) {
    QStringList bar;
    for (QAction* a : window->menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar,
              QStringList({"&File", "&Game", "&Engine", "&Options", "&View", "&Develop", "&Help"}));
    std::vector<int> reached, expected;
    for (const CommandEntry& e : commandTable())
        if (e.id) window->dispatcher().on(e.id, [&reached](int id) { reached.push_back(id); });
    for (const CommandEntry& e : commandTable()) {
        if (!e.id) continue;
        QAction* a = window->action(e.id);
        ASSERT_NE(a, nullptr) << e.id;
        EXPECT_EQ(a->text().toStdString(), e.caption);
        a->trigger();
        expected.push_back(e.id);
    }
    EXPECT_EQ(reached, expected);
}

TEST_F(CommandWindowTest, CheckMarksThroughTheMenus) {
    window->action(155)->trigger();
    EXPECT_EQ(searchInfo.maxDepth.load(), 5);
    EXPECT_TRUE(window->action(155)->isChecked());
    EXPECT_FALSE(window->action(151)->isChecked());
    EXPECT_FALSE(window->action(cmd::UserDefinedLevel)->isChecked());
    for (int id : {cmd::UseHashTable, cmd::EvalsFromWhite, 1400, cmd::Ponder}) {
        const bool before = window->action(id)->isChecked();
        window->action(id)->trigger();
        EXPECT_NE(window->action(id)->isChecked(), before) << id;
        window->action(id)->trigger();
        EXPECT_EQ(window->action(id)->isChecked(), before) << id;
    }
    window->action(1235)->trigger(); // "12 MB"
    EXPECT_TRUE(window->action(1235)->isChecked());
    EXPECT_FALSE(window->action(1234)->isChecked());
    EXPECT_EQ(uint64_t(transpositionTable.mask) + 1, uint64_t(1) << 18);
    window->action(1234)->trigger();
    searchInfo.maxDepth.store(3);
}

TEST_F(CommandWindowTest, NewGameWithTheEngineAsWhiteThinksAtOnce) {
    searchInfo.humanSide.store(HumanBlack);
    window->runCommand(cmd::NewGame);
    ASSERT_TRUE(
        waitFor([&] { return window->state().game.moveCount == 1 && searchController.idle(); }));
    EXPECT_EQ(window->state().game.sideToMove, Black); // White's move was the engine's
    EXPECT_EQ(window->sidePanel()->findChild<QLabel*>(controlName(114))->text(), "Corvid");
}

TEST_F(CommandWindowTest, WhoPlaysAndWhenTheClocksStart) {
    EXPECT_FALSE(searchInfo.clocksRunning.load());
    window->runCommand(cmd::TwoPlayer);
    EXPECT_FALSE(searchInfo.clocksRunning.load()); // nobody thinks, the clocks stand
    window->runCommand(cmd::EnginePlaysBlack);     // the user is to move: nothing starts
    EXPECT_FALSE(searchInfo.clocksRunning.load());
    EXPECT_TRUE(searchController.idle());
    window->runCommand(cmd::EnginePlaysWhite); // the engine is to move: it thinks, clocks go
    EXPECT_TRUE(searchInfo.clocksRunning.load());
    ASSERT_TRUE(waitForPly(1));
    window->runCommand(cmd::SelfPlay);
    ASSERT_TRUE(waitFor([&] { return window->state().game.ply >= 4; }));
    // Resign and draw offers with the engine on both sides or on neither do nothing.
    window->runCommand(cmd::Resign);
    window->runCommand(cmd::OfferDraw);
    EXPECT_EQ(searchInfo.gameResult.load(), GameRunning);
    window->runCommand(cmd::TwoPlayer);
    EXPECT_TRUE(searchController.idle());
    window->runCommand(cmd::Resign);
    window->runCommand(cmd::OfferDraw);
    EXPECT_EQ(searchInfo.gameResult.load(), GameRunning);
    EXPECT_EQ(beeps, 0);
}

TEST_F(CommandWindowTest, PgnFilesThroughMenuAndKeys) {
    const std::string path = folder + "/games.pgn";
    std::ofstream(path) << "[Event \"A\"]\n\n1. e4 *\n\n[Event \"B\"]\n\n1. d4 d5 *\n\n"
                           "[Event \"C\"]\n\n1. c4 *\n";
    chosenFile = path;
    window->runCommand(cmd::LoadPgn);
    EXPECT_EQ(window->state().game.moveTexts.at(0), "e2-e4  ");
    EXPECT_TRUE(
        waitForStatus("Game 1\nEvent: A\nTime Control: X\nWhite: X\nBlack: X\nResult: X\n"));
    key(Qt::Key_L);
    EXPECT_EQ(window->state().game.moveCount, 2);
    key(Qt::Key_K);
    key(Qt::Key_K); // game 1 stays game 1
    EXPECT_EQ(ports->commands().pgn.gameIndex, 1);
    EXPECT_EQ(window->state().game.moveTexts.at(0), "e2-e4  ");
    key(Qt::Key_L);
    key(Qt::Key_L);
    key(Qt::Key_L); // no game 4: the index starts again, the board stays
    EXPECT_EQ(ports->commands().pgn.gameIndex, 1);
    EXPECT_EQ(window->state().game.moveTexts.at(0), "c2-c4  ");
    EXPECT_TRUE(waitForStatus("No game 4: the file holds 3 games."));
    chosenFile.clear(); // a cancelled picker loads nothing
    window->runCommand(cmd::LoadPgn);
    EXPECT_EQ(window->state().game.moveTexts.at(0), "c2-c4  ");
    EXPECT_EQ(GuiSettings.get("PgnFolder"), folder);
}

TEST_F(CommandWindowTest, AppendedGamesReadBackHereAndInPgnExtract) {
    startFromFen("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    for (const char* move : {"O-O", "O-O-O", "Ra1-a8+"}) ASSERT_TRUE(playGameMoveText(move));
    const std::vector<std::string> moves = recordedMoves();
    const std::string path = folder + "/saved.pgn";
    std::ofstream(path) << "[Event \"Before\"]\n\n1. e4 *"; // no line end after the game
    chosenFile = path;
    window->runCommand(cmd::AppendGame);
    EXPECT_TRUE(waitForStatus("Game Saved."));
    window->runCommand(cmd::AppendGame);
    EXPECT_TRUE(waitForStatus("Game Saved."));
    chosenFile = "/dev/full";
    window->runCommand(cmd::AppendGame);
    EXPECT_TRUE(waitForStatus("Game not saved: the file could not be written."));

    chosenFile = path;
    window->runCommand(cmd::LoadPgn);
    window->runCommand(cmd::NextPgnGame);
    EXPECT_EQ(recordedMoves(), moves);
    window->runCommand(cmd::NextPgnGame);
    EXPECT_EQ(recordedMoves(), moves);

    // Debian installs it among the games.
    std::string extract;
    for (const char* path :
         {"/usr/games/pgn-extract", "/usr/bin/pgn-extract", "/usr/local/bin/pgn-extract"})
        if (extract.empty() && std::filesystem::exists(path)) extract = path;
    if (extract.empty()) GTEST_SKIP() << "pgn-extract is not installed";
    const std::string out = folder + "/extracted.pgn", log = folder + "/log.txt";
    const std::string command = extract + " -s -Wsan -o" + out + " -l" + log + " " + path;
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream in(out);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::ifstream diagnostics(log);
    std::string logText((std::istreambuf_iterator<char>(diagnostics)),
                        std::istreambuf_iterator<char>());
    EXPECT_EQ(logText.find("ail"), std::string::npos) << logText; // "Failed to make move"
    // Both saved games with all their moves, in the reader's own notation.
    size_t found = 0, at = 0;
    while ((at = text.find("1. O-O O-O-O 2. Ra8+", at)) != std::string::npos) ++found, ++at;
    EXPECT_EQ(found, 2u) << text;
}

TEST_F(CommandWindowTest, ClipboardRoundTripsAndUndo) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    for (const char* move : {"e4", "c5", "Nf3", "d6"}) ASSERT_TRUE(playGameMoveText(move));
    window->runCommand(cmd::GoToEnd);
    const std::vector<std::string> game = recordedMoves();
    window->runCommand(cmd::CopyTranscript);
    EXPECT_TRUE(waitForStatus("Transcript Copied"));
    window->runCommand(cmd::NewGame);
    window->runCommand(cmd::PasteTranscript);
    EXPECT_TRUE(waitForStatus("Transcript Pasted"));
    EXPECT_EQ(recordedMoves(), game);

    key(Qt::Key_C); // the position
    EXPECT_TRUE(waitForStatus("Position Copied"));
    const QString fen = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(fen.startsWith("rnbqkbnr/pp2pppp/3p4/2p5/4P3/5N2/PPPP1PPP/RNBQKB1R w KQkq"))
        << fen.toStdString();
    window->runCommand(cmd::NewGame);
    // Keys are refused while the engine is still busy with the new game.
    ASSERT_TRUE(waitFor([] { return !engineBusy(); }));
    key(Qt::Key_V);
    EXPECT_TRUE(waitForStatus("Position Pasted."));
    EXPECT_EQ(window->state().game.fen.substr(0, 60), fen.toStdString().substr(0, 60));

    // A pasted position, then undo: the game before it is back.
    QGuiApplication::clipboard()->setText("8/8/8/4k3/8/8/8/4K2R w K - 0 1");
    window->runCommand(cmd::PasteTranscript); // a game was asked for: the position comes
    EXPECT_EQ(window->state().game.fen.substr(0, 16), "8/8/8/4k3/8/8/8/");
    key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->state().game.fen.substr(0, 60), fen.toStdString().substr(0, 60));

    // Text that is no game or position, and a megabyte of it, change nothing.
    const std::string before = window->state().game.fen;
    QGuiApplication::clipboard()->setText("Dear diary, today I played chess.");
    window->runCommand(cmd::PasteTranscript);
    EXPECT_TRUE(waitForStatus("Nothing pasted: the clipboard holds no game or position."));
    QGuiApplication::clipboard()->setText(QString(1 << 20, 'x'));
    window->runCommand(cmd::PastePosition);
    EXPECT_TRUE(waitForStatus("Position not pasted: the text is longer than 255 characters."));
    EXPECT_EQ(window->state().game.fen, before);
    screenshot("after_paste_refused");
}

TEST_F(CommandWindowTest, PerftDisplayAndColourMirror) {
    window->runCommand(cmd::DisplayPerft);
    EXPECT_TRUE(waitFor([&] { return statusText(*window).startsWith("Perft(1) = 20\n"); }));
    const QString text = statusText(*window);
    EXPECT_TRUE(text.startsWith("Perft(1) = 20\nPerft(2) = 400\nPerft(3) = 8902\n"
                                "Perft(4) = 197281\nPerft(5) = 4865609\n\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains(" seconds\n"));
    screenshot("perft_display");

    startFromFen("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1");
    window->runCommand(cmd::MirrorPosition);
    EXPECT_EQ(window->state().game.fen.rfind(
                  "r3k2r/pppbbppp/2n2q1P/1P2p3/3pn3/BN2PNP1/P1PPQPB1/R3K2R b KQkq - ", 0),
              0u)
        << window->state().game.fen;
    // The mirror's move tree is the original's (its counts are the Kiwipete position's).
    Position mirrored = gamePosition;
    EXPECT_EQ(Perft(mirrored, 3), 97862u);
}

TEST_F(CommandWindowTest, Chess960GameAndCastlingByMouse) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    window->runCommand(cmd::NewChess960Game);
    const GameSnapshot& game = window->state().game;
    // A back rank of the 960: bishops on squares of both colours, the king between the rooks,
    // Black's the mirror of White's.
    std::string rank;
    for (int file = 0; file < 8; ++file) rank += PieceLetters[game.board[56 + file]];
    EXPECT_EQ(rank.find('B') % 2 != rank.rfind('B') % 2, true) << rank;
    EXPECT_LT(rank.find('R'), rank.find('K'));
    EXPECT_GT(rank.rfind('R'), rank.find('K'));
    for (int file = 0; file < 8; ++file)
        EXPECT_EQ(game.board[file], game.board[56 + file] + 8) << rank;

    // King onto its rook, and king onto its castling square.
    for (int target : {h1, g1}) {
        startFromFen("rk5r/pppppppp/8/8/8/8/PPPPPPPP/RK5R w KQkq - 0 1");
        click(b1);
        click(target);
        ASSERT_TRUE(waitFor([&] { return window->state().game.moveCount == 1; })) << target;
        EXPECT_EQ(gamePosition.board[g1], MakePiece(White, King)) << target;
        EXPECT_EQ(gamePosition.board[f1], MakePiece(White, Rook)) << target;
        EXPECT_EQ(window->state().game.moveTexts.at(0), "O-O    ");
    }
    screenshot("chess960_castled");
}

TEST_F(CommandWindowTest, BookAndAnalysisModesGiveTheSidesBack) {
    window->findChild<QPushButton*>(controlName(cmd::BookButton))->click();
    EXPECT_EQ(window->state().boardMode, BookViewMode);
    EXPECT_EQ(searchInfo.humanSide.load(), EnginePlaysNeither);
    window->findChild<QPushButton*>(controlName(cmd::AnalyzeButton))->click();
    EXPECT_EQ(window->state().boardMode, AnalysisMode);
    EXPECT_TRUE(window->analysisPane()->isVisible());
    EXPECT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Analyzing; }));
    screenshot("analysis_mode");
    window->findChild<QPushButton*>(controlName(cmd::AnalyzeButton))->click();
    EXPECT_EQ(window->state().boardMode, PlayMode);
    EXPECT_EQ(searchInfo.humanSide.load(), HumanWhite);
    EXPECT_TRUE(searchController.idle());
}

TEST_F(CommandWindowTest, MoveNowFromTheMenuAndGoToStartFromThePanel) {
    searchInfo.humanSide.store(EnginePlaysNeither);
    for (const char* move : {"e4", "e5"}) ASSERT_TRUE(playGameMoveText(move));
    window->runCommand(cmd::GoToEnd);
    window->findChild<QPushButton*>(controlName(cmd::MoveNowOrStart))->click();
    EXPECT_EQ(gamePosition.ply, 0); // "<|": the start
    EXPECT_EQ(gameRecord.moveCount, 2);

    window->runCommand(cmd::GoToEnd);
    searchInfo.maxDepth.store(52);
    searchInfo.fixedMoveSeconds.store(60);
    window->runCommand(cmd::EnginePlaysWhite);
    ASSERT_TRUE(waitFor([] { return searchInfo.searchState.load() == SearchState::Thinking; }));
    window->action(cmd::MoveNow)->trigger(); // the menu's 110: the engine moves now
    ASSERT_TRUE(waitFor([&] { return gameRecord.moveCount == 3; }, 5000));
    EXPECT_EQ(gamePosition.ply, 3);
}

TEST_F(CommandWindowTest, PlayPvContinuesTheEnginesLine) {
    searchInfo.maxDepth.store(5);
    click(52); // e2-e4; the engine answers with the first move of its line
    click(36);
    ASSERT_TRUE(waitForPly(2));
    // The moves of the line that follow its first, up to a marker.
    const LastLine& line = ports->commands().lastLine;
    ASSERT_TRUE(line.valid);
    size_t follow = 1;
    while (follow < line.moves.size() && line.moves[follow] && !(line.moves[follow] & MarkerBit))
        ++follow;
    window->runCommand(cmd::PlayPv);
    EXPECT_EQ(size_t(gameRecord.moveCount), 2 + (follow - 1));
    EXPECT_EQ(window->state().game.moveCount, gameRecord.moveCount);
    // Elsewhere the line does not apply.
    searchInfo.humanSide.store(EnginePlaysNeither);
    window->runCommand(cmd::NewGame);
    window->runCommand(cmd::PlayPv);
    EXPECT_EQ(gameRecord.moveCount, 0);
}

TEST_F(CommandWindowTest, DroppedTextAndFilesLoad) {
    // As a drag arrives: entering the window, then the drop.
    auto dropOnWindow = [&](QMimeData& data) {
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &drop);
    };
    QMimeData text;
    text.setText("4k3/8/8/8/8/8/8/4K2R w K - 0 1");
    dropOnWindow(text);
    EXPECT_EQ(window->state().game.fen.substr(0, 24), "4k3/8/8/8/8/8/8/4K2R w K");
    const std::string path = folder + "/drop.pgn";
    std::ofstream(path) << "[Event \"D\"]\n\n1. f4 *\n";
    QMimeData file;
    file.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    dropOnWindow(file);
    ASSERT_EQ(window->state().game.moveCount, 1);
    EXPECT_EQ(window->state().game.moveTexts.at(0), "f2-f4  ");
    EXPECT_EQ(ports->commands().pgn.file, path);
}

} // namespace corvid::test
