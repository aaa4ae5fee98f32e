// How much the desktop's search display costs the search: the same analysis (three lines,
// from a cleared table) runs in the real window on Qt's offscreen platform, alternately with
// the display on (side-panel figures, analysis pane, line marks, evaluation bar) and off, and
// the nodes per second of both are compared. The search is deterministic from a cleared table,
// so only the speed differs.
//
//   search_display_bench [seconds per run] [rounds]
// BENCH_NO_PANE / BENCH_NO_BAR in the environment leave the analysis pane / the bar closed in
// the "on" runs, to see which part costs what.
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
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
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

// Runs the window's event loop (sleeping while there is nothing to do) for a while.
void wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

void showPosition(const char* fen) {
    stopSearch();
    searchInfo.humanSide.store(EnginePlaysNeither);
    Position start;
    if (!SetPositionFromFen(start, fen, &gameCastleInfo)) std::exit(2);
    StartGameRecord(start);
    reporter().boardChanged();
    wait(100);
}

// CPU time of the calling thread (the window thread), in milliseconds.
double cpuMs(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}
double threadCpuMs() { return cpuMs(CLOCK_THREAD_CPUTIME_ID); }
double processCpuMs() { return cpuMs(CLOCK_PROCESS_CPUTIME_ID); }

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

    // nps on the wall clock, and nodes per millisecond of the other threads' CPU time: on a
    // loaded machine the search gets an unsteady share of the processor, and the second figure
    // leaves that share out.
    std::vector<double> ratios, cpuRatios, windowCpu[2];
    std::printf("%-4s %-6s %14s %14s %16s %16s %9s %9s\n", "pos", "round", "nps on", "nps off",
                "window ms/s on", "window ms/s off", "other on", "other off");
    for (int p = 0; p < int(std::size(Positions)); ++p) {
        showPosition(Positions[p]);
        for (int round = 1; round <= rounds; ++round) {
            double nps[2] = {}, cpu[2] = {}, searchCpu[2] = {}, perCpuMs[2] = {};
            // Alternating which goes first evens out drifts of the machine's speed.
            for (int step = 0; step < 2; ++step) {
                const int on = (step + round) % 2;
                searchInfo.showSearchInfo.store(on);
                searchInfo.analysisLines.store(3);
                window.state().boardMode = on ? AnalysisMode : PlayMode;
                window.setAnalysisPaneOpen(on && !getenv("BENCH_NO_PANE"));
                const bool bar = on && !getenv("BENCH_NO_BAR");
                if (evalBarShown() != bar) window.runCommand(cmd::ShowEvalBar);
                ttClear();
                last = {};
                const double cpuBefore = threadCpuMs(), processBefore = processCpuMs();
                requestAnalysis();
                wait(seconds * 1000);
                cpu[on] = (threadCpuMs() - cpuBefore) / seconds;
                searchCpu[on] = (processCpuMs() - processBefore) / seconds - cpu[on];
                windowCpu[on].push_back(cpu[on]);
                stopSearch();
                wait(50);
                nps[on] =
                    last.elapsedMs > 0 ? double(last.nodes) * 1000.0 / double(last.elapsedMs) : 0.0;
                perCpuMs[on] =
                    searchCpu[on] > 0 ? double(last.nodes) / (searchCpu[on] * seconds) : 0;
            }
            std::printf("%-4d %-6d %14.0f %14.0f %16.1f %16.1f %9.0f %9.0f\n", p + 1, round, nps[1],
                        nps[0], cpu[1], cpu[0], searchCpu[1], searchCpu[0]);
            if (nps[0] > 0) ratios.push_back(nps[1] / nps[0]);
            if (perCpuMs[0] > 0) cpuRatios.push_back(perCpuMs[1] / perCpuMs[0]);
        }
    }
    if (evalBarShown() != barWasShown) window.runCommand(cmd::ShowEvalBar);
    const double m = median(ratios);
    std::printf("median nps on/off: %.4f (display costs %.2f%%)\n", m, (1.0 - m) * 100.0);
    std::printf("median nodes per CPU millisecond of the search, on/off: %.4f\n",
                median(cpuRatios));
    std::printf("median window-thread CPU per second of analysis: %.1f ms on, %.1f ms off\n",
                median(windowCpu[1]), median(windowCpu[0]));
    window.close();
    endSearchThread();
    return 0;
}
