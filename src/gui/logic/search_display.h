// What the window shows of a running search: the search information in the side panel, the
// analysis pane's lines (several lines at once, or the history of one line), the first moves
// of the lines marked on the board, and the score for the evaluation bar. The search thread
// hands over copies of its figures; everything here runs on the window thread.
#pragma once

#include "gui/logic/board_mark.h"
#include "gui/logic/command_table.h"
#include "gui/logic/window_state.h"
#include "platform/engine_reporter.h"

#include <cstdint>
#include <deque>
#include <optional>
#include <string>

namespace corvid {

// The search is shown when the search information is on or the board analyses. (A test match
// shows nothing: its runner suppresses the texts while it runs.)
bool searchDisplayAllowed(const WindowState& state);

// The side panel's search information: score, depth, time, current move, nodes and speed.
std::string searchInfoText(const SearchReport& report, bool whitePov);
// All analysis lines at once, one per searched slot ("1. [7] 0.25   e4 e5 ...").
std::string analysisLinesText(const SearchReport& report, bool whitePov);
// The one-line form for the history: "[depth]  score  time  line".
std::string historyLineText(const SearchReport& report, const std::string& ponderText,
                            bool whitePov);
// The frames of each line's first move, last line first (empty while pondering or without a
// move).
BoardMarks lineMarks(const SearchReport& report);
// The colour of analysis line i.
uint32_t lineColour(int line);

// The evaluation bar beside the board (a View preference, off by default) and its command.
bool evalBarShown();
void registerEvalBarCommand(CommandDispatcher& dispatcher);

// White's share of the evaluation bar for a score of the side to move: 0.5 for equal, towards
// 1 as White stands better, full for a mate.
double whiteShare(int score, int sideToMove);

// The analysis history: the newest lines of the search, at most 30 of at most 1024 characters.
class AnalysisHistory {
public:
    static constexpr size_t MaxLines = 30;
    static constexpr size_t MaxLineLength = 1024;

    void add(std::string line);
    void clear() { lines_.clear(); }
    const std::deque<std::string>& lines() const { return lines_; } // newest first
    // The pane text: newest first, or oldest first when newestFirst is off.
    std::string text(bool newestFirst) const;

private:
    std::deque<std::string> lines_;
};

// What one report changes in the window.
struct SearchDisplayUpdate {
    std::optional<std::string> status; // the side panel's info text
    std::optional<std::string> pane;   // the analysis pane's text
    std::optional<BoardMarks> marks;   // the line marks
    bool scrollToEnd = false;          // the pane shows the history oldest first
};

class SearchDisplay {
public:
    // The running search's figures (and, with searchDone, its last ones).
    SearchDisplayUpdate progress(const SearchReport& report, const WindowState& state);
    // A line found or refreshed.
    SearchDisplayUpdate lines(const SearchReport& report, const WindowState& state);
    // The move pondered on (SAN), shown in front of the lines while pondering.
    void ponderMove(std::string san) { ponderText_ = std::move(san); }
    // A new game: no score, no history.
    void reset();

    const AnalysisHistory& history() const { return history_; }
    // The last reported score from White's point of view, as the bar's share (none before the
    // first line).
    std::optional<double> barShare() const { return barShare_; }
    // The history's order in the pane.
    bool newestFirst = true;

private:
    void follow(const SearchReport& report);

    AnalysisHistory history_;
    std::optional<uint32_t> searchId_;
    std::string ponderText_;
    std::optional<double> barShare_;
};

} // namespace corvid
