// How much the desktop's search display costs the search: the same analysis (three lines,
// from a cleared table) runs in the real window on Qt's offscreen platform, alternately with
// the display on (side-panel figures, analysis pane, line marks, evaluation bar) and off, and
// the nodes per second of both are compared. The search is deterministic from a cleared table,
// so only the speed differs.
//
//   search_display_bench [seconds per run] [rounds]
#include "chess/fen.h"
#include "chess/game_record.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/search_display.h"
#include "gui/qt/main_window.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace corvid;

namespace {

const char* const Positions[] = {
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1",
    "r4rk1/1b3ppp/p2q4/1p1Pp3/8/1B1Q1N2/PP3PPP/R3R1K1 b - - 0 18",
    "6k1/3q1pp1/pp5p/1r5n/8/1P3PP1/PQ4BP/2R3K1 w - - 0 30",
};

struct Figures {
    uint64_t nodes = 0;
    int64_t elapsedMs = 0;
};

void wait(QApplication& app, int milliseconds) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds) app.processEvents(QEventLoop::AllEvents, 20);
}

void showPosition(QApplication& app, const char* fen) {
    stopSearch();
    searchInfo.humanSide.store(EnginePlaysNeither);
    Position start;
    if (!SetPositionFromFen(start, fen, &gameCastleInfo)) std::exit(2);
    StartGameRecord(start);
    reporter().boardChanged();
    wait(app, 100);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setBookPath(ActiveSettings, "no-book-for-the-bench.obk");
    initEngine(DefaultHashSizeCode);

    MainWindow window(false);
    window.start();
    Figures last;
    window.addEventListener([&](const DesktopEvent& event) {
        if (event.kind != DesktopEventKind::SearchProgress) return;
        last = {event.search->report.nodes, event.search->report.elapsedMs};
    });
    const bool barWasShown = evalBarShown();

    std::vector<double> ratios;
    std::printf("%-4s %-6s %14s %14s\n", "pos", "round", "nps on", "nps off");
    for (int p = 0; p < int(std::size(Positions)); ++p) {
        showPosition(app, Positions[p]);
        for (int round = 1; round <= rounds; ++round) {
            double nps[2] = {};
            for (int on = 1; on >= 0; --on) {
                searchInfo.showSearchInfo.store(on);
                searchInfo.analysisLines.store(3);
                window.state().boardMode = on ? AnalysisMode : PlayMode;
                window.setAnalysisPaneOpen(on);
                if (evalBarShown() != bool(on)) window.runCommand(cmd::ShowEvalBar);
                ttClear();
                last = {};
                requestAnalysis();
                wait(app, seconds * 1000);
                stopSearch();
                wait(app, 50);
                nps[on] = last.elapsedMs > 0 ? double(last.nodes) * 1000.0 / double(last.elapsedMs)
                                             : 0.0;
            }
            std::printf("%-4d %-6d %14.0f %14.0f\n", p + 1, round, nps[1], nps[0]);
            if (nps[0] > 0) ratios.push_back(nps[1] / nps[0]);
        }
    }
    if (evalBarShown() != barWasShown) window.runCommand(cmd::ShowEvalBar);
    const double m = median(ratios);
    std::printf("median nps on/off: %.4f (display costs %.2f%%)\n", m, (1.0 - m) * 100.0);
    window.close();
    endSearchThread();
    return 0;
}
