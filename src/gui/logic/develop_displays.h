// The Develop menu's displays of the shown game position: its moves and their threat classes,
// its quiescence search, its evaluation term by term, one piece's or king's share, and the
// table entry. They run on the window thread with the search stopped and read the engine's
// own functions (evaluation detail, threat classes, quiescence search, table).
#pragma once

#include "chess/position.h"
#include "gui/logic/board_mark.h"
#include "gui/logic/command_table.h"
#include "gui/logic/window_state.h"

#include <cstdint>
#include <functional>
#include <string>

namespace corvid {

// A display's text for the side panel and its frames on the board.
struct DevelopDisplay {
    std::string text;
    BoardMarks marks;
};

// Move colours of the move information (0xRRGGBB).
constexpr uint32_t InterestingMoveColour = 0x880066; // threat class 1
constexpr uint32_t ThreatMoveColour = 0xEE0088;      // class 2
constexpr uint32_t StrongThreatColour = 0xFF00FF;    // classes 3 and 4
constexpr uint32_t MateMoveColour = 0xFF8800;        // the mate in one
constexpr uint32_t PinnedPieceColour = 0xFF0000;
constexpr uint32_t PieceFrameColour = 0xEEEEEE;

// The legal moves counted by kind and by threat class; classes 1 to 4 and the mate in one
// marked. keys: the game's position keys by ply (for the repetitions; may be null).
DevelopDisplay moveInfoDisplay(const Position& p, const uint64_t* keys);

// The quiescence search of the position as the search runs it from a fresh context.
struct QSearchResult {
    int score = 0;
    uint64_t nodes = 0;
    std::string line;
    std::string text;
};
QSearchResult qsearchDisplay(const Position& p, const uint64_t* keys, bool whitePov);

// The evaluation term by term, White's and Black's value of each.
std::string evalDisplayText(const Position& p, bool whitePov);

// A piece's share of the evaluation, or a king's safety; the piece's square framed (red when
// pinned to its king), the king's surroundings by attack and defence. Empty square: nothing.
DevelopDisplay squareDisplay(const Position& p, int square);

// Where the displays show themselves.
struct DisplaySink {
    std::function<void(const std::string&)> showText; // the side panel's info text
    std::function<void(const BoardMarks&)> showMarks; // replaces the board's frames
};

// The square details of a right click or of the king keys (A, Z): stops the search first.
void showSquareDetails(int square, const DisplaySink& sink);

// Registers 40005 move info, 40052 eval, 40061 table entry, 40086 quiescence and the king keys
// 50010/50011.
void registerDevelopDisplays(CommandDispatcher& dispatcher, const DisplaySink& sink);

} // namespace corvid
