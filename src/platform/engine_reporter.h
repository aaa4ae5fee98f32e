// Everything the engine says to whoever drives it goes through this one interface: the UCI and
// WinBoard modes write their protocol lines, the desktop posts copies to its window thread. The
// search, the book, the game record and the engine control call only this; none of them knows
// which face of the program is running. Until a mode installs its own, a silent reporter answers.
#pragma once

#include <cstdint>

namespace corvid {

// The chess model's position (reporters that write moves format them against it).
struct Position;

// One line of the root search: a move sequence and its score. Moves are the chess model's
// 16-bit moves; a line may end in a marker move.
struct ReportedLine {
    static constexpr int MaxMoves = 256;
    uint16_t move = 0;  // the line's root move
    int32_t score = 0;  // for the side to move at the root
    int32_t depth = 0;  // half plies of the iteration that found it
    int32_t length = 0; // moves in `moves`
    uint16_t moves[MaxMoves] = {};
};

// Line bounds as the root search reports them.
constexpr int ReportExact = 0, ReportLowerBound = 1, ReportUpperBound = 2;

// A copy of the running search's figures, taken on the search thread at the moment of the call.
struct SearchReport {
    static constexpr int MaxLines = 6;
    const Position* root = nullptr; // valid during the call only: copy it to keep it
    int32_t rootSide = 0;
    int32_t iterationDepth = 0; // half plies
    int32_t selDepth = 0;
    int32_t bound = ReportExact; // of the line being searched
    int32_t lineIndex = 0;       // the line being searched
    int32_t lineCount = 1;       // lines searched per iteration
    int64_t elapsedMs = 0;
    uint64_t nodes = 0;
    uint64_t qnodes = 0;
    int32_t rootMoveNumber = 0;
    int32_t plyOneMoveNumber = 0;
    int32_t rootMoveCount = 0;
    uint16_t currentRootMove = 0;
    int32_t hashFull = 0; // permille of the table holding this search's entries (progress only)
    bool pondering = false;
    uint32_t searchId = 0;   // the same for every report of one root search, new for the next
    bool searchDone = false; // the last figures of a finished search
    ReportedLine lines[MaxLines];
};

class EngineReporter {
public:
    virtual ~EngineReporter() = default;

    // ---- The search (search thread)
    // A root search begins (its reports follow).
    virtual void searchStarted() {}
    // A new best line or bound at the root: the protocol modes' thinking output.
    virtual void searchLine(const SearchReport& /*report*/) {}
    // The running search's figures, at most every 125 ms, after each iteration, and once more
    // when a search for the engine's move has ended (searchDone).
    virtual void searchProgress(const SearchReport& /*report*/) {}
    // The root lines for the line display: when a line is found or refreshed.
    virtual void searchLines(const SearchReport& /*report*/) {}
    // The move the engine ponders on, in SAN with its trailing blank ("" when none).
    virtual void ponderMove(const char* /*san*/) {}

    // ---- Perft counts (search thread)
    // One root move's leaf count, as soon as it is known (root: the counted position).
    virtual void perftMove(const Position& /*root*/, uint16_t /*move*/, uint64_t /*leaves*/) {}
    // The total of the root moves counted: all of them, or those finished before a stop.
    virtual void perftTotal(uint64_t /*leaves*/) {}

    // ---- The engine's moves and game ends (search thread, or the command side)
    // The UCI answer to "go": move 0 when there is none; ponder 0 when no reply is expected.
    virtual void bestMove(const Position& /*position*/, uint16_t /*move*/, uint16_t /*ponder*/) {}
    // The move the engine played on the game (position before the move).
    virtual void engineMove(const Position& /*before*/, uint16_t /*move*/) {}
    // A claimed game end: result "1-0", "0-1" or "1/2-1/2" and its reason.
    virtual void resultClaim(const char* /*result*/, const char* /*reason*/) {}
    virtual void resign() {}
    virtual void drawOffer() {}

    // ---- Messages and the window
    // Status line text (set-up panel when open, else the side panel).
    virtual void statusText(const char* /*text*/) {}
    // A modal message box.
    virtual void messageBox(const char* /*title*/, const char* /*text*/) {}
    // The game position or record changed and the board should be redrawn.
    virtual void boardChanged() {}
    // The move list of the game record changed.
    virtual void moveListChanged() {}
    // The piece type (1 knight, 2 bishop, 3 rook, 4 queen) for a promotion the user's move did
    // not name; the desktop asks the user. Without a window: the queen.
    virtual int promotionPiece() { return 4; }
};

// The active reporter: the silent one until a mode installs its own. Safe to call from any
// thread.
EngineReporter& reporter();
// Installs a reporter (nullptr: the silent one). The reporter must outlive its use.
void setReporter(EngineReporter* reporter);

} // namespace corvid
