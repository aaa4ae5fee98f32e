#include "window_test_support.h"

#include "chess/game_record.h"
#include "chess/types.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "eval/search_personality.h"
#include "gui/logic/desktop.h"
#include "gui/qt/board_view.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"
#include "support/test_support.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <chrono>
#include <filesystem>

namespace corvid::test {

namespace {
bool engineStarted = false;
std::chrono::steady_clock::time_point processStart = std::chrono::steady_clock::now();
} // namespace

void NoteProcessStart() { processStart = std::chrono::steady_clock::now(); }

double millisecondsSinceProcessStart() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                     processStart)
        .count();
}

void EnsureDesktopEngine() {
    if (engineStarted) return;
    engineStarted = true;
    // No book: the engine's replies come from the search, quickly at a small depth.
    setBookPath(ActiveSettings, "no-book-in-tests.obk");
    initEngine(DefaultHashSizeCode);
}

void EndDesktopEngine() {
    if (engineStarted) endSearchThread();
}

void WindowTest::SetUp() {
    stopSearch();
    preferences = Preferences{};
    searchInfo.humanSide.store(HumanWhite);
    searchInfo.maxDepth.store(3);
    searchInfo.fixedMoveSeconds.store(0);
    searchInfo.ponderEnabled.store(false);
    searchInfo.showSearchInfo.store(false);
    searchInfo.baseMinutes.store(5);
    searchInfo.incrementSeconds.store(5);
    searchInfo.clocksRunning.store(false);
    window = std::make_unique<MainWindow>(false);
    window->showMessage = [this](const QString& title, const QString& text) {
        messages.push_back((title + "|" + text).toStdString());
    };
    window->choosePromotion = [this] {
        ++promotionQuestions;
        return promotionChoice;
    };
    window->beep = [this] { ++beeps; };
    window->start();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ASSERT_TRUE(waitForPly(0));
}

void WindowTest::TearDown() {
    window->close();
    window.reset();
    QApplication::processEvents();
}

QPoint WindowTest::cellCentre(int square) const {
    Rect cell = squareCell(window->state().layout, square, window->state().flipped);
    return {cell.x + cell.width / 2, cell.y + cell.height / 2};
}

void WindowTest::click(int square) {
    QTest::mouseClick(window->boardView(), Qt::LeftButton, {}, cellCentre(square));
    QApplication::processEvents();
}

void WindowTest::drag(int from, int to) {
    QTest::mousePress(window->boardView(), Qt::LeftButton, {}, cellCentre(from));
    QTest::mouseMove(window->boardView(), cellCentre(to));
    QTest::mouseRelease(window->boardView(), Qt::LeftButton, {}, cellCentre(to));
    QApplication::processEvents();
}

bool WindowTest::waitFor(const std::function<bool()>& condition, int milliseconds) {
    return QTest::qWaitFor(condition, milliseconds);
}

bool WindowTest::waitForPly(int ply, int milliseconds) {
    return waitFor([&] { return window->state().game.ply == ply && searchController.idle(); },
                   milliseconds);
}

void WindowTest::startFromFen(const char* fen) {
    stopSearch();
    searchInfo.humanSide.store(EnginePlaysNeither);
    StartTestGame(fen);
    reporter().boardChanged();
    const int ply = gamePosition.ply;
    ASSERT_TRUE(waitFor(
        [&] { return window->state().game.ply == ply && window->state().game.moveCount == 0; }));
}

std::string WindowTest::screenshot(const std::string& name) {
    const std::string folder = std::string(CORVID_BINARY_DIR) + "/screenshots";
    std::filesystem::create_directories(folder);
    const std::string path = folder + "/" + name + ".png";
    window->refresh();
    QApplication::processEvents();
    EXPECT_TRUE(window->grab().save(QString::fromStdString(path), "PNG")) << path;
    return path;
}

} // namespace corvid::test
