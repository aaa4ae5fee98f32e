#include "gui/logic/search_display.h"

#include "chess/move_notation.h"
#include "control/settings.h"
#include "gui/logic/command_ids.h"
#include "search/score.h"
#include "search/search_info.h"
#include "search/search_text.h"

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdio>

namespace corvid {

namespace {

constexpr uint32_t LineColours[SearchReport::MaxLines] = {0x00D000, 0x2080FF, 0xFF8000,
                                                          0xD000D0, 0x00C8C8, 0xE8E800};

// SAN of a move in the report's root position ("" when there is none).
std::string rootMoveText(const SearchReport& report, Move move) {
    if (!report.root || move == NoMove) return "";
    char text[MoveTextBufferSize];
    FormatMove(text, move, *report.root, SanForm);
    return text;
}

int rootSide(const SearchReport& report) {
    return report.root ? report.root->sideToMove : report.rootSide;
}

std::string nodesText(uint64_t nodes, uint64_t qnodes) {
    const int share = nodes ? int(100 * qnodes / nodes) : 0;
    char text[96];
    if (nodes <= 9999)
        std::snprintf(text, sizeof text, "Nodes:\n  %" PRIu64 "\n  %d%% qs", nodes, share);
    else if (nodes > 9999999)
        std::snprintf(text, sizeof text, "Nodes:\n  %" PRIu64 " M\n  %d%% qs", nodes / 1000000,
                      share);
    else
        std::snprintf(text, sizeof text, "Nodes:\n  %" PRIu64 " K\n  %d%% qs", nodes / 1000, share);
    return text;
}

// A line of the report (its own root move in front when the line is still empty).
const ReportedLine& slot(const SearchReport& report, int i) {
    return report.lines[std::clamp(i, 0, SearchReport::MaxLines - 1)];
}

int lineLength(const ReportedLine& line) { return std::clamp(line.length, 0, line.MaxMoves); }

} // namespace

bool searchDisplayAllowed(const WindowState& state) {
    return searchInfo.showSearchInfo.load() || state.boardMode == AnalysisMode;
}

std::string searchInfoText(const SearchReport& report, bool whitePov) {
    const double seconds = std::max(double(report.elapsedMs) / 1000.0, 0.000001);
    const ReportedLine& line = slot(report, report.lineIndex);
    char depth[48];
    std::snprintf(depth, sizeof depth, "%d  \t(max %d)", report.iterationDepth / 2,
                  report.selDepth);
    const long long kiloPerSecond = (long long)(double(report.nodes) / 1000.0 / seconds);
    std::string text = "Eval: " + formatScore(line.score, rootSide(report), true, whitePov);
    text += "\nDepth: ";
    text += depth;
    text += "\nTime: " + formatTime(seconds);
    text += "\nMove: " + rootMoveText(report, line.move);
    char counts[96];
    std::snprintf(counts, sizeof counts, "\n      [%d.%d/%d] ( ", report.rootMoveNumber,
                  report.plyOneMoveNumber, report.rootMoveCount);
    text += counts;
    text += rootMoveText(report, report.currentRootMove) + ")\n";
    text += nodesText(report.nodes, report.qnodes);
    std::snprintf(counts, sizeof counts, "\n  %lld KN\\sec\n", kiloPerSecond);
    return text + counts;
}

std::string analysisLinesText(const SearchReport& report, bool whitePov) {
    if (!report.root) return "";
    std::string text;
    const int count = std::clamp(report.lineCount, 1, SearchReport::MaxLines);
    for (int i = 0; i < count; ++i) {
        const ReportedLine& line = report.lines[i];
        // A slot the search has not reached yet has nothing to show.
        if (lineLength(line) == 0) continue;
        const int kind = i == report.lineIndex ? report.bound : LineExact;
        char head[64];
        std::snprintf(head, sizeof head, "%d. [%d] %s   ", i + 1, line.depth / 2,
                      formatScore(line.score, rootSide(report), false, whitePov).c_str());
        if (!text.empty()) text += '\n';
        text += head;
        text += formatLine(line.moves, lineLength(line), *report.root, kind, "", true);
    }
    return text;
}

std::string historyLineText(const SearchReport& report, const std::string& ponderText,
                            bool whitePov) {
    const ReportedLine& line = report.lines[0];
    char head[96];
    std::snprintf(head, sizeof head, "[%d]  %s  %s  ", report.iterationDepth / 2,
                  formatScore(line.score, rootSide(report), false, whitePov).c_str(),
                  formatTime(double(report.elapsedMs) / 1000.0).c_str());
    std::string text = head;
    if (!report.root) return text;
    const size_t room = AnalysisHistory::MaxLineLength > text.size()
                            ? AnalysisHistory::MaxLineLength - text.size()
                            : 0;
    return text + formatLine(line.moves, lineLength(line), *report.root, report.bound,
                             report.pondering ? ponderText : std::string(), true, room);
}

uint32_t lineColour(int line) {
    return LineColours[std::clamp(line, 0, SearchReport::MaxLines - 1)];
}

BoardMarks lineMarks(const SearchReport& report) {
    BoardMarks marks;
    if (report.pondering || report.lines[0].move == NoMove) return marks;
    const int count = std::clamp(report.lineCount, 1, SearchReport::MaxLines);
    for (int i = count - 1; i >= 0; --i) {
        const ReportedLine& line = report.lines[i];
        const Move first = lineLength(line) > 0 ? line.moves[0] : line.move;
        if (first == NoMove || IsMarker(first)) continue;
        marks.push_back({MoveFrom(first), lineColour(i)});
        marks.push_back({MoveTo(first), lineColour(i)});
    }
    return marks;
}

namespace {
constexpr const char* EvalBarKey = "ShowEvalBar";
}

bool evalBarShown() {
    return GuiSettings.contains(EvalBarKey) && readBool(GuiSettings, EvalBarKey);
}

void registerEvalBarCommand(CommandDispatcher& dispatcher) {
    dispatcher.on(cmd::ShowEvalBar, [](int) { setBool(GuiSettings, EvalBarKey, !evalBarShown()); });
}

double whiteShare(int score, int sideToMove) {
    if (score == NoScore) return 0.5;
    const int white = sideToMove == Black ? -score : score;
    if (white > MateThreshold) return 1.0;
    if (white < -MateThreshold) return 0.0;
    // A pawn ahead fills about two thirds of the bar.
    return 1.0 / (1.0 + std::pow(10.0, -white / 400.0));
}

void AnalysisHistory::add(std::string line) {
    if (line.size() > MaxLineLength) line.resize(MaxLineLength);
    lines_.push_front(std::move(line));
    while (lines_.size() > MaxLines) lines_.pop_back();
}

std::string AnalysisHistory::text(bool newestFirst) const {
    std::string text;
    auto append = [&](const std::string& line) {
        if (!text.empty()) text += '\n';
        text += line;
    };
    if (newestFirst)
        for (const std::string& line : lines_) append(line);
    else
        for (auto it = lines_.rbegin(); it != lines_.rend(); ++it) append(*it);
    return text;
}

void SearchDisplay::follow(const SearchReport& report) {
    // The history belongs to one root search.
    if (searchId_ != report.searchId) history_.clear();
    searchId_ = report.searchId;
    const ReportedLine& line = report.lines[0];
    if (line.move != NoMove && line.depth > 0 && report.root)
        barShare_ = whiteShare(line.score, report.root->sideToMove);
}

SearchDisplayUpdate SearchDisplay::progress(const SearchReport& report, const WindowState& state) {
    SearchDisplayUpdate update;
    follow(report);
    if (searchDisplayAllowed(state))
        update.status = searchInfoText(report, searchInfo.evalsFromWhitePov.load());
    else if (report.searchDone)
        update.status = std::string();
    return update;
}

SearchDisplayUpdate SearchDisplay::lines(const SearchReport& report, const WindowState& state) {
    SearchDisplayUpdate update;
    follow(report);
    if (!searchDisplayAllowed(state)) return update;
    if (report.lineCount > 1) {
        update.pane = analysisLinesText(report, searchInfo.evalsFromWhitePov.load());
    } else {
        history_.add(historyLineText(report, ponderText_, searchInfo.evalsFromWhitePov.load()));
        update.pane = history_.text(newestFirst);
        update.scrollToEnd = !newestFirst;
    }
    if (!report.pondering && report.lines[0].move != NoMove) update.marks = lineMarks(report);
    return update;
}

void SearchDisplay::reset() {
    history_.clear();
    searchId_.reset();
    barShare_.reset();
}

} // namespace corvid
