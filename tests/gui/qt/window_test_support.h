// The real main window on Qt's offscreen platform with the engine running: a fixture that
// opens a fresh window per test, clicks squares, waits for the engine and writes screenshots.
#pragma once

#include "gui/qt/main_window.h"

#include <QPoint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace corvid::test {

// Starts the engine once per test program (tables, a small hash table, no book, the search
// thread); the program's main ends the search thread.
void EnsureDesktopEngine();
void EndDesktopEngine();
// Milliseconds since the test program's main began.
void NoteProcessStart();
double millisecondsSinceProcessStart();

class WindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureDesktopEngine(); }
    void SetUp() override;
    void TearDown() override;

    // The centre of a square's cell on the board view.
    QPoint cellCentre(int square) const;
    void click(int square);
    void drag(int from, int to);
    // Processes events until the condition holds or the time runs out.
    bool waitFor(const std::function<bool()>& condition, int milliseconds = 15000);
    // Waits until the shown game has this many plies (and the engine is done with it).
    bool waitForPly(int ply, int milliseconds = 15000);
    // Starts a game from a FEN with the engine off and waits until the window shows it.
    void startFromFen(const char* fen);
    // Writes the window as PNG to build/<config>/screenshots/<name>.png; the path.
    std::string screenshot(const std::string& name);

    std::unique_ptr<MainWindow> window;
    std::vector<std::string> messages; // message boxes shown ("title|text")
    int promotionQuestions = 0;
    int promotionChoice = 4;
    int beeps = 0;
};

} // namespace corvid::test
