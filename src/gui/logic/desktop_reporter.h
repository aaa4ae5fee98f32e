// The desktop's side of the engine's reporting interface. Every report is copied on the calling
// thread (the game as it stands, texts, the search's figures and root position) and handed to
// a poster that queues it for the window thread. The calling thread never waits for the
// window: a report costs a copy and a queued post.
#pragma once

#include "gui/logic/game_snapshot.h"
#include "platform/engine_reporter.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace corvid {

// A search report with its own copy of the root position (report.root points into it).
struct SearchReportCopy {
    SearchReport report;
    std::shared_ptr<const Position> root;
};

enum class DesktopEventKind {
    Game,           // the game changed: redraw the board, rebuild the move list
    Status,         // text: the status line
    Message,        // title, text: a message box
    SearchProgress, // search: the running search's figures (side-panel info text)
    SearchLines,    // search: the root lines (analysis pane, board marks)
    PonderMove,     // text: the move the engine ponders on
};

struct DesktopEvent {
    DesktopEventKind kind = DesktopEventKind::Status;
    std::string title, text;
    std::shared_ptr<const GameSnapshot> game;
    std::shared_ptr<const SearchReportCopy> search;
};

class DesktopReporter final : public EngineReporter {
public:
    using Poster = std::function<void(DesktopEvent&&)>;
    using PromotionAsker = std::function<int()>;

    // Called on the window thread: from now on reports go to the poster, and promotion
    // questions asked on this thread go to the asker.
    void attach(Poster poster, PromotionAsker asker);
    // No more posts once this returns (a report in flight finishes its post first).
    void detach();

    void searchProgress(const SearchReport& report) override;
    void searchLines(const SearchReport& report) override;
    void ponderMove(const char* san) override;
    void statusText(const char* text) override;
    void messageBox(const char* title, const char* text) override;
    void boardChanged() override;
    void moveListChanged() override;
    // Asked on the window thread only (mouse entry); any other thread gets the queen.
    int promotionPiece() override;

private:
    void post(DesktopEvent&& event);

    std::mutex mutex_; // guards the poster against detach; held only for the post itself
    Poster poster_;
    PromotionAsker asker_;
    std::thread::id windowThread_;
};

// Per process: the desktop's reporter (installed by the window, idle otherwise).
DesktopReporter& desktopReporter();
// Makes it the engine's reporter.
void installDesktopReporter();

} // namespace corvid
