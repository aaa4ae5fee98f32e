#include "protocol/protocol_reporter.h"

#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "protocol/engine_output.h"
#include "search/score.h"
#include "search/search_info.h"
#include "search/search_text.h"

#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <cstring>

namespace corvid {

namespace {

int moveText(char* buffer, Move move, const Position& p, bool san) {
    if (!san) return FormatCoordinate(buffer, move, p, searchInfo.chess960.load());
    int length = FormatMove(buffer, move, p, SanForm);
    while (length > 0 && buffer[length - 1] == ' ') buffer[--length] = '\0';
    return length;
}

// Nodes per second from centiseconds, as the lines have always counted them.
uint64_t nodesPerSecond(uint64_t nodes, int64_t centiseconds) {
    return centiseconds > 0 ? nodes * 100 / uint64_t(centiseconds) : 0;
}

class UciReporter : public EngineReporter {
public:
    void searchStarted() override {
        lastFiguresMs_ = 0;
        lastCurrentMoveMs_ = 0;
        lastCurrentMove_ = NoMove;
        progressSinceLine_ = false;
        lastLine_[0] = '\0';
    }

    void searchLine(const SearchReport& report) override {
        if (!searchInfo.postThinking.load()) return;
        const ReportedLine& line = report.lines[report.lineIndex];
        int64_t elapsed = report.elapsedMs / 10; // centiseconds, as the WinBoard lines count
        uint64_t nodes = report.nodes;
        int depth = report.iterationDepth / 2;
        uint64_t nps = nodesPerSecond(nodes, elapsed);
        const char* boundText = report.bound == ReportLowerBound   ? "lowerbound "
                                : report.bound == ReportUpperBound ? "upperbound "
                                                                   : "";
        // With one line the form is the one front ends have always seen from this engine.
        char multiPv[24] = "";
        if (report.lineCount > 1)
            std::snprintf(multiPv, sizeof multiPv, "multipv %d ", report.lineIndex + 1);
        std::string score = uciScoreText(line.score, depth, report.root->ply);
        std::string pv = principalVariationText(*report.root, line, report.bound, false);
        std::snprintf(lastLine_, sizeof lastLine_,
                      "info depth %d seldepth %d %sscore %s %stime %" PRId64 " nodes %" PRIu64
                      " nps %" PRIu64 " pv %s\n",
                      depth, report.selDepth, multiPv, score.c_str(), boundText, elapsed * 10,
                      nodes, nps, pv.c_str());
        writeOutput("%s", lastLine_);
        progressSinceLine_ = false;
    }

    // A long search shows its progress: after the first second the root move being searched
    // when it changes (a few times a second at most), and once a second the figures and the
    // table's fill, whether or not a new line was found.
    void searchProgress(const SearchReport& report) override {
        constexpr int64_t QuietMs = 1000, CurrentMoveGapMs = 250, FiguresGapMs = 1000;
        if (!searchInfo.postThinking.load() || report.elapsedMs < QuietMs) return;
        Move current = report.currentRootMove;
        if (current != NoMove && current != lastCurrentMove_ &&
            report.elapsedMs - lastCurrentMoveMs_ >= CurrentMoveGapMs &&
            IsPlayable(*report.root, current)) {
            char text[16];
            FormatCoordinate(text, current, *report.root, searchInfo.chess960.load());
            writeOutput("info currmove %s currmovenumber %d\n", text,
                        report.lineIndex + report.rootMoveNumber);
            lastCurrentMove_ = current;
            lastCurrentMoveMs_ = report.elapsedMs;
            progressSinceLine_ = true;
        }
        if (report.elapsedMs - lastFiguresMs_ >= FiguresGapMs) {
            int64_t elapsed = report.elapsedMs / 10;
            writeOutput("info time %" PRId64 " nodes %" PRIu64 " nps %" PRIu64 " hashfull %d\n",
                        elapsed * 10, report.nodes, nodesPerSecond(report.nodes, elapsed),
                        report.hashFull);
            lastFiguresMs_ = report.elapsedMs;
            progressSinceLine_ = true;
        }
    }

    void perftMove(const Position& root, uint16_t move, uint64_t leaves) override {
        char text[16];
        FormatCoordinate(text, move, root, searchInfo.chess960.load());
        writeOutput("%s: %" PRIu64 "\n", text, leaves);
    }
    void perftTotal(uint64_t leaves) override {
        writeOutput("\nNodes searched: %" PRIu64 "\n\n", leaves);
    }

    void bestMove(const Position& position, uint16_t move, uint16_t ponder) override {
        // Front ends show the last line beside the move: progress lines do not end a search.
        if (progressSinceLine_ && lastLine_[0]) writeOutput("%s", lastLine_);
        progressSinceLine_ = false;
        if (move == NoMove) {
            writeOutput("bestmove (none)\n");
            debugLog("bestmove (none)\n");
            return;
        }
        char best[16], ponderText[24] = "";
        FormatCoordinate(best, move, position, searchInfo.chess960.load());
        if (ponder != NoMove) {
            Position after = position;
            MakeMoveWithCheck(after, move);
            char replyText[16];
            FormatCoordinate(replyText, ponder, after, searchInfo.chess960.load());
            std::snprintf(ponderText, sizeof ponderText, "ponder %s", replyText);
        }
        writeOutput("bestmove %s %s\n", best, ponderText);
        debugLog("bestmove %s %s\n", best, ponderText);
    }

private:
    // Search thread only: when the last figures and root move went out (elapsed milliseconds).
    int64_t lastFiguresMs_ = 0;
    int64_t lastCurrentMoveMs_ = 0;
    Move lastCurrentMove_ = NoMove;
    // The last search line as sent, and whether progress lines went out after it.
    char lastLine_[4096] = "";
    bool progressSinceLine_ = false;
};

class WinBoardReporter : public EngineReporter {
public:
    void searchLine(const SearchReport& report) override {
        if (!searchInfo.postThinking.load()) return;
        const ReportedLine& line = report.lines[report.lineIndex];
        int64_t elapsed = report.elapsedMs / 10; // centiseconds
        int score = line.score;
        if (report.rootSide == Black && !searchInfo.evalsFromWhitePov.load()) score = -score;
        // The desktop's analysis lines read the same (bounds are the line kinds).
        std::string pv = formatLine(line.moves, line.length, *report.root, report.bound,
                                    report.pondering ? ponderText_ : "", true);
        writeOutput("%d %d %" PRId64 " %" PRIu64 " %s\n", report.iterationDepth / 2, score, elapsed,
                    report.nodes, pv.c_str());
    }

    void ponderMove(const char* san) override {
        std::snprintf(ponderText_, sizeof ponderText_, "%s", san ? san : "");
    }

    void engineMove(const Position& before, uint16_t move) override {
        char text[16];
        FormatCoordinate(text, move, before, searchInfo.chess960.load());
        writeOutput("move %s\n", text);
        debugLog("wbSendMove %s\n", text);
    }

    void resultClaim(const char* result, const char* reason) override {
        writeOutput("%s {%s}\n", result, reason);
    }
    void resign() override { writeOutput("resign\n"); }
    void drawOffer() override { writeOutput("offer draw\n"); }

private:
    char ponderText_[16] = ""; // search thread only
};

// Per process: the reporters of the two protocol modes.
UciReporter uciReporter;
WinBoardReporter winBoardReporter;

} // namespace

void useUciReporter() { setReporter(&uciReporter); }
void useWinBoardReporter() { setReporter(&winBoardReporter); }

std::string uciScoreText(int score, int depthPlies, int gamePly) {
    if (std::abs(score) <= 2 && gamePly > 80) score = 0;
    const char* kind = "cp";
    int value = score;
    if (std::abs(score) > MateThreshold) {
        kind = "mate";
        value = (MateValue + 1 - std::abs(score)) / 2;
        if (score <= 0) value = -value;
    }
    if (value == 0 && depthPlies == 0) value = 1;
    char text[32];
    std::snprintf(text, sizeof text, "%s %d", kind, value);
    return text;
}

std::string principalVariationText(const Position& root, const ReportedLine& line, int bound,
                                   bool san) {
    std::string text;
    Position p = root;
    int count = bound == ReportExact ? line.length : std::min(line.length, 1);
    for (int i = 0; i < count; ++i) {
        Move move = line.moves[i];
        if (!IsPlayable(p, move)) break;
        char buffer[MoveTextBufferSize];
        moveText(buffer, move, p, san);
        text += buffer;
        text += ' ';
        MakeMoveWithCheck(p, move);
    }
    return text;
}

} // namespace corvid
