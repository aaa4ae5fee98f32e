// The test match: the engine plays a series of fast games against itself, personality A against
// personality B, each start position once with each colour assignment, and shows running
// statistics after every game. It runs on the search thread's think loop with the engine playing
// both sides; the hooks below are that loop's calls.
#pragma once

#include "control/test_start_positions.h"
#include "eval/search_personality.h"
#include "search/search_context.h"

#include <atomic>
#include <cstdint>
#include <string>

namespace corvid {

// The last reached depth is kept per move number; later moves share the last slot.
constexpr int DepthByMoveSlots = 60;

// What one personality's searches added up to over the match.
struct SideStatistics {
    uint64_t nodeSum = 0;
    uint64_t depthSum = 0; // plies
    uint64_t searches = 0;
    int32_t depthByMove[DepthByMoveSlots] = {};
};

// How a match is played. The desktop uses the defaults; the headless command can change each.
struct TestMatchOptions {
    int32_t totalGames = 500;
    double baseMinutes = 1.0 / 60; // the match's time control: one second a side
    double incrementSeconds = 0.01;
    SearchPersonality personalityA;
    SearchPersonality personalityB;
    std::string startPositionsFile = "openingBook/testStartPositions.txt";
    std::string pgnFile; // when set, every finished game is appended to it
};

// The presets: A and B search to depth 4; B plays without the pawn-structure weight; variants 0
// (A) and 1 (B).
TestMatchOptions defaultTestMatchOptions();

struct TestMatch {
    int32_t totalGames = 500;
    int32_t wins = 0, draws = 0, losses = 0; // from A's point of view
    int32_t gamesPlayed = 0;
    int32_t startIndex = -1; // start position in use; -1 before the first pick
    std::atomic<bool> running{false};
    int64_t startTime = 0; // millisecondClock at the start
    int32_t sideOfA = 0;   // colour A plays: 0 white, 1 black
    TestStartPositions startPositions;
    SearchPersonality personalityA;
    SearchPersonality personalityB;
    SideStatistics sides[2];  // [0] A, [1] B
    int32_t timeForfeits = 0; // games in which a side's clock ran out (the match plays on)
    double baseMinutes = 0;   // the match's time control (for the game records)
    double incrementSeconds = 0;
    std::string pgnFile;
    // The current search: its mover and the game's length before it (for the clock check).
    int32_t moverSide = 0;
    int32_t movesBeforeSearch = 0;
    bool clockRanOut = false; // in the current game
};

// Per process: the one match. The command side writes it only while the search thread is idle;
// while a match runs only the search thread does.
extern TestMatch testMatch;

inline bool testMatchRunning() { return testMatch.running.load(); }

// Command side. Stops any search or match, then starts a new match: reads the start positions,
// zeroes the statistics, sets the match's time control and presets (the user's are restored when
// the match ends or is stopped), shows the statistics and starts the first game with the engine
// playing both sides. A user who gives a side to someone else ends the match.
void startTestMatch(const TestMatchOptions& options = defaultTestMatchOptions());
// Sets up the next game: clears the hash tables and starts a new game from the start position
// of the pair (a new pick every second game).
void startTestGame();
// Formats the statistics and shows them as the status text.
void showTestStatistics();
// Ends the match if it runs: restores the user's time control, personality and reporter.
void finishTestMatch();

// ---- The think loop's hooks (search thread); each does nothing outside a match.
// Before each search of side: installs that side's preset; returns the depth limit to use.
int testMatchBeforeSearch(int side, int maxDepth);
// After each search (not after book moves): adds it to the mover's statistics.
void testMatchAfterSearch(const SearchContext& context);
// After each move played: when the game has ended, counts it and starts the next game or ends
// the match. Returns whether the think loop plays on.
bool testMatchAfterMove();

} // namespace corvid
