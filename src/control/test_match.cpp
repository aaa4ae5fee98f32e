#include "control/test_match.h"

#include "chess/fen.h"
#include "chess/pgn.h"
#include "chess/zobrist.h"
#include "control/game.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "control/table_access.h"
#include "control/test_statistics.h"
#include "control/time_control.h"
#include "platform/clock.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"

#include <algorithm>

namespace corvid {

TestMatch testMatch;

namespace {

// While the match runs it stands in for the mode's reporter: the match's own statistics and a
// board redraw after each game are all the user sees; status texts, message boxes, search
// displays and the redraws after each move of other parts are dropped. The protocol answers
// pass through (none arise in a match; a stray one must not be lost).
class MatchReporter final : public EngineReporter {
public:
    std::atomic<EngineReporter*> user{nullptr}; // the mode's reporter, while installed

    void bestMove(const Position& p, uint16_t move, uint16_t ponder) override {
        target().bestMove(p, move, ponder);
    }
    void engineMove(const Position& before, uint16_t move) override {
        target().engineMove(before, move);
    }
    void resultClaim(const char* result, const char* reason) override {
        target().resultClaim(result, reason);
    }
    void resign() override { target().resign(); }
    void drawOffer() override { target().drawOffer(); }
    int promotionPiece() override { return target().promotionPiece(); }

private:
    // A caller that fetched this reporter just before the match ended may still call it.
    EngineReporter& target() {
        EngineReporter* u = user.load();
        return u ? *u : silent_;
    }
    EngineReporter silent_;
};

// Per process: installed from the start of a match to its end.
MatchReporter matchReporter;

// The reporter the user sees, whether or not the match's stands in front of it.
EngineReporter& userReporter() {
    EngineReporter* user = matchReporter.user.load();
    return user ? *user : reporter();
}

// Per process: the user's settings that a match replaces, saved at its start.
struct UserSettings {
    double baseMinutes = 5;
    double incrementSeconds = 5;
    double fixedMoveSeconds = 0;
    SearchPersonality personality;
};
UserSettings savedUserSettings;

// Per process: the generator of the start-position picks.
KeyRandom& matchRandom() {
    static KeyRandom random = [] {
        KeyRandom r;
        r.Skip(64);
        return r;
    }();
    return random;
}

void saveGame(const TestMatch& m, int result) {
    if (m.pgnFile.empty()) return;
    PgnGameInfo info;
    std::snprintf(m.sideOfA == White ? info.white : info.black, sizeof info.white, "Corvid A");
    std::snprintf(m.sideOfA == White ? info.black : info.white, sizeof info.white, "Corvid B");
    info.baseMinutes = m.baseMinutes;
    info.incrementSeconds = m.incrementSeconds;
    SavePgn(m.pgnFile.c_str(), result, true, info);
}

void countResult(TestMatch& m, int result) {
    m.gamesPlayed += 1;
    int winnerOfA = m.sideOfA == White ? GameWhiteWon : GameBlackWon;
    if (result == GameDrawn)
        m.draws += 1;
    else if (result == winnerOfA)
        m.wins += 1;
    else
        m.losses += 1;
    if (m.clockRanOut) m.timeForfeits += 1;
}

} // namespace

TestMatchOptions defaultTestMatchOptions() {
    TestMatchOptions options;
    options.personalityA.depthLimit = 4;
    options.personalityB.depthLimit = 4;
    options.personalityB.pawnStructureWeight = 0;
    options.personalityA.variant = 0;
    options.personalityB.variant = 1;
    return options;
}

void startTestMatch(const TestMatchOptions& options) {
    // A running match ends when its think loop is stopped; the user's settings are back then.
    stopSearch();
    finishTestMatch();
    TestMatch& m = testMatch;
    if (&reporter() != &matchReporter) {
        matchReporter.user.store(&reporter());
        setReporter(&matchReporter);
    }

    m.startPositions = loadTestStartPositions(options.startPositionsFile);
    m.totalGames = std::max(options.totalGames, 1);
    m.wins = m.draws = m.losses = m.gamesPlayed = 0;
    m.startTime = millisecondClock();
    m.sideOfA = White;
    m.startIndex = -1;
    for (SideStatistics& side : m.sides) side = SideStatistics{};
    m.timeForfeits = 0;
    m.pgnFile = options.pgnFile;

    savedUserSettings = {searchInfo.baseMinutes.load(), searchInfo.incrementSeconds.load(),
                         searchInfo.fixedMoveSeconds.load(), activePersonality};
    m.baseMinutes = options.baseMinutes;
    m.incrementSeconds = options.incrementSeconds;
    searchInfo.baseMinutes.store(options.baseMinutes);
    searchInfo.incrementSeconds.store(options.incrementSeconds);
    searchInfo.fixedMoveSeconds.store(0);
    m.personalityA = options.personalityA;
    m.personalityB = options.personalityB;

    showTestStatistics();
    startTestGame();
    // The engine plays both sides until the match ends or the user says otherwise.
    searchInfo.humanSide.store(EnginePlaysBoth);
    searchInfo.clocksRunning.store(true);
    searchController.post(SearchRequest::Think);
}

void startTestGame() {
    TestMatch& m = testMatch;
    m.running.store(true);
    clearTables();
    Position start;
    CastleInfo castleInfo;
    const Position* from = nullptr;
    int count = int(m.startPositions.fens.size());
    if (count > 0) {
        // The second game of a pair replays the first one's position with the colours swapped.
        if (m.startIndex < 0 || m.startIndex >= count || m.sideOfA == White) {
            KeyRandom& random = matchRandom();
            random.Skip(int(millisecondClock() & 127));
            m.startIndex = int(random.Next() % uint64_t(count));
        }
        if (setUpStartPosition(start, castleInfo, m.startPositions.fens[size_t(m.startIndex)]))
            from = &start;
    }
    newGame(false, false, from);
    m.clockRanOut = false;
}

void showTestStatistics() {
    char text[StatisticsTextSize];
    const TestMatch& m = testMatch;
    formatTestStatistics(text, m, double(millisecondClock() - m.startTime) / 1000.0);
    userReporter().statusText(text);
}

void finishTestMatch() {
    if (!testMatch.running.exchange(false)) return;
    searchInfo.baseMinutes.store(savedUserSettings.baseMinutes);
    searchInfo.incrementSeconds.store(savedUserSettings.incrementSeconds);
    searchInfo.fixedMoveSeconds.store(savedUserSettings.fixedMoveSeconds);
    activePersonality = savedUserSettings.personality;
    if (EngineReporter* user = matchReporter.user.load()) setReporter(user);
    matchReporter.user.store(nullptr);
}

int testMatchBeforeSearch(int side, int maxDepth) {
    if (!testMatchRunning()) return maxDepth;
    TestMatch& m = testMatch;
    const SearchPersonality& preset = side == m.sideOfA ? m.personalityA : m.personalityB;
    activePersonality = preset;
    m.moverSide = side;
    m.movesBeforeSearch = gameMoveCount();
    return preset.depthLimit != 0 ? preset.depthLimit : maxDepth;
}

void testMatchAfterSearch(const SearchContext& c) {
    if (!testMatchRunning()) return;
    TestMatch& m = testMatch;
    SideStatistics& s = m.sides[c.rootSide == m.sideOfA ? 0 : 1];
    int depth = c.iterationDepth / 2;
    s.nodeSum += c.nodes;
    s.depthByMove[std::clamp(c.rootPosition.ply / 2, 0, DepthByMoveSlots - 1)] = depth;
    s.depthSum += uint64_t(depth);
    s.searches += 1;
}

bool testMatchAfterMove() {
    TestMatch& m = testMatch;
    // The clock as the desktop keeps it: the mover's time left before its move, less what the
    // move took.
    if (gameMoveCount() > m.movesBeforeSearch && guiTimeLeft(m.moverSide, m.movesBeforeSearch) <= 0)
        m.clockRanOut = true;
    int result = searchInfo.gameResult.load();
    if (result == GameRunning) return true;
    countResult(m, result);
    saveGame(m, result);
    showTestStatistics();
    userReporter().boardChanged();
    userReporter().moveListChanged();
    // The user gave the board to someone else meanwhile: that ends the match.
    if (searchInfo.humanSide.load() != EnginePlaysBoth) {
        finishTestMatch();
        return false;
    }
    if (m.gamesPlayed < m.totalGames) {
        m.sideOfA ^= 1;
        startTestGame();
        return true;
    }
    finishTestMatch();
    // The match is over: the engine stops playing (a drawn game would otherwise go on).
    searchInfo.humanSide.store(EnginePlaysNeither);
    return false;
}

} // namespace corvid
