// The test match on the real search thread: pairs of games from one start position with the
// colours swapped, each side searching with its own preset, the hash tables cleared before each
// game, the match's time control in force only while it runs, and nothing but its statistics
// shown.
#include "control/test_match.h"

#include "chess/pgn.h"
#include "control/search_controller.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"
#include "support/test_support.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

namespace corvid {
namespace {

// The search thread is ended and joined before the program exits.
class EndSearchThread : public testing::Environment {
public:
    void TearDown() override { endSearchThread(); }
};
const auto* const endTheSearchThread = testing::AddGlobalTestEnvironment(new EndSearchThread);

// White mates in one in each: a game is one search.
const char* const MateInOne[] = {
    "6k1/5ppp/8/8/8/8/5PPP/R5K1 w - - 0 1",
    "6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1",
    "7k/6pp/8/8/8/8/6PP/1Q4K1 w - - 0 1",
};

// What reaches the user's side while a match runs (called on the search thread).
class Recorder : public EngineReporter {
public:
    void statusText(const char* text) override {
        std::function<void(const std::string&)> hook;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            texts.push_back(text);
            matchTimes.push_back(
                {searchInfo.baseMinutes.load(), searchInfo.incrementSeconds.load()});
            hook = onText;
        }
        changed_.notify_all();
        if (hook) hook(text);
    }
    void messageBox(const char* title, const char* text) override {
        std::lock_guard<std::mutex> lock(mutex_);
        boxes.push_back(std::string(title) + text);
    }
    void boardChanged() override {
        std::lock_guard<std::mutex> lock(mutex_);
        ++redraws;
    }
    // Waits until the latest statistics text reports at least that many games.
    void waitForGames(int games) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [&] {
            if (texts.empty()) return false;
            size_t at = texts.back().find("games: ");
            return at != std::string::npos && std::atoi(texts.back().c_str() + at + 7) >= games;
        });
    }

    std::vector<std::string> texts;
    std::vector<std::pair<double, double>> matchTimes; // time control when each text came
    std::vector<std::string> boxes;
    int redraws = 0;
    std::function<void(const std::string&)> onText; // set before the match starts

private:
    std::mutex mutex_;
    std::condition_variable changed_;
};

// The value after "name: " in a statistics text.
std::string field(const std::string& text, const std::string& name) {
    size_t at = text.find(name + ": ");
    if (at == std::string::npos) return "";
    at += name.size() + 2;
    return text.substr(at, text.find('\n', at) - at);
}

// The tag values of every game in a PGN file.
std::vector<std::string> tags(const std::string& path, const std::string& name) {
    std::ifstream in(path);
    std::vector<std::string> values;
    std::string line, prefix = "[" + name + " \"";
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            values.push_back(line.substr(prefix.size(), line.size() - prefix.size() - 2));
    return values;
}

class TestMatchRun : public testing::Test {
protected:
    void SetUp() override {
        static bool started = [] {
            initEngine(19); // the smallest table: it is cleared before every game
            return true;
        }();
        (void)started;
        setReporter(&recorder);
        searchInfo.baseMinutes.store(7);
        searchInfo.incrementSeconds.store(3);
        searchInfo.fixedMoveSeconds.store(0);
        userPersonality = SearchPersonality{};
        userPersonality.switches.nullMovePruning = false;
        std::snprintf(userPersonality.name, sizeof userPersonality.name, " user");
        activePersonality = userPersonality;
    }
    void TearDown() override {
        stopSearch();
        setReporter(nullptr);
    }

    TestMatchOptions options(int games, const std::vector<std::string>& starts) {
        TestMatchOptions o = defaultTestMatchOptions();
        o.totalGames = games;
        o.pgnFile = folder.file("games.pgn");
        o.startPositionsFile = folder.file("starts.txt");
        if (!starts.empty()) {
            std::ofstream file(o.startPositionsFile);
            for (const std::string& fen : starts) file << fen << "\n";
        }
        return o;
    }
    void run(const TestMatchOptions& o) {
        startTestMatch(o);
        searchController.waitUntilIdle();
    }
    // The user's settings are back, and the user's reporter.
    void expectUserSettingsBack() {
        EXPECT_FALSE(testMatchRunning());
        EXPECT_EQ(searchInfo.baseMinutes.load(), 7);
        EXPECT_EQ(searchInfo.incrementSeconds.load(), 3);
        const SearchPersonality& p = activePersonality;
        EXPECT_STREQ(p.name, userPersonality.name);
        EXPECT_FALSE(p.switches.nullMovePruning);
        EXPECT_EQ(p.depthLimit, 0);
        EXPECT_EQ(p.pawnStructureWeight, 100);
        EXPECT_EQ(p.variant, 0);
        EXPECT_EQ(&reporter(), &recorder);
    }

    test::ScratchDirectory folder;
    Recorder recorder;
    SearchPersonality userPersonality;
};

TEST_F(TestMatchRun, PairsShareAPositionWithColoursSwappedAndResultsAddUp) {
    // After each game the personality in force is the one of the side that gave mate (white):
    // A's preset in the odd games, B's (variant 1, no pawn-structure weight) in the even ones.
    std::vector<std::pair<int, int>> winnersPreset;
    recorder.onText = [&](const std::string&) {
        if (testMatchRunning())
            winnersPreset.push_back(
                {activePersonality.variant, activePersonality.pawnStructureWeight});
    };
    run(options(6, {MateInOne[0], MateInOne[1], MateInOne[2]}));
    const std::vector<std::pair<int, int>> presets = {{0, 100}, {1, 0},   {0, 100},
                                                      {1, 0},   {0, 100}, {1, 0}};
    EXPECT_EQ(winnersPreset, presets);

    // One text at the start and one after each game, all under the match's time control.
    ASSERT_EQ(recorder.texts.size(), 7u);
    for (const auto& [base, increment] : recorder.matchTimes) {
        EXPECT_DOUBLE_EQ(base * 60, 1);
        EXPECT_DOUBLE_EQ(increment, 0.01);
    }
    for (int g = 0; g <= 6; ++g)
        EXPECT_EQ(field(recorder.texts[size_t(g)], "games"), std::to_string(g) + " of 6 ");
    // White wins every game: A wins with white and loses with black.
    EXPECT_EQ(recorder.texts.back().substr(0, 11), "+3 -3 =0 \nE");
    EXPECT_EQ(testMatch.wins + testMatch.losses + testMatch.draws, 6);
    for (int pair = 0; pair < 3; ++pair)
        EXPECT_EQ(field(recorder.texts[size_t(2 * pair + 1)], "startIdx"),
                  field(recorder.texts[size_t(2 * pair + 2)], "startIdx"));

    std::string pgn = folder.file("games.pgn");
    std::vector<std::string> fens = tags(pgn, "FEN"), whites = tags(pgn, "White"),
                             results = tags(pgn, "Result");
    ASSERT_EQ(fens.size(), 6u);
    for (int g = 0; g < 6; ++g) {
        EXPECT_EQ(whites[size_t(g)], g % 2 == 0 ? "Corvid A" : "Corvid B");
        EXPECT_EQ(results[size_t(g)], "1-0");
        if (g % 2 == 1) {
            EXPECT_EQ(fens[size_t(g)], fens[size_t(g - 1)]);
        }
    }

    // Nothing but the statistics and one redraw per game reached the user; no "Game Over" box.
    EXPECT_TRUE(recorder.boxes.empty());
    EXPECT_EQ(recorder.redraws, 6);
    expectUserSettingsBack();
    EXPECT_EQ(searchInfo.humanSide.load(), EnginePlaysNeither);
}

TEST_F(TestMatchRun, EachSideSearchesWithItsOwnPresetFromTheStandardPosition) {
    // No start-position file: the game starts from the standard position.
    TestMatchOptions o = options(1, {});
    o.personalityA.depthLimit = 1;
    o.personalityB.depthLimit = 3;
    run(o);

    ASSERT_EQ(testMatch.gamesPlayed, 1);
    EXPECT_TRUE(tags(folder.file("games.pgn"), "FEN").empty());
    EXPECT_EQ(field(recorder.texts.back(), "startIdx"), "-1");
    const SideStatistics& a = testMatch.sides[0];
    const SideStatistics& b = testMatch.sides[1];
    ASSERT_GT(a.searches, 10u);
    ASSERT_GT(b.searches, 10u);
    EXPECT_EQ(a.depthSum, a.searches); // every search of A stops at one ply
    EXPECT_GT(double(b.depthSum) / double(b.searches), 2.0);
    EXPECT_LE(b.depthSum, 3 * b.searches);
    EXPECT_LT(a.nodeSum * 2, b.nodeSum);
    expectUserSettingsBack();
}

TEST_F(TestMatchRun, ClearsTheHashTablesBeforeEachGame) {
    // After the first game, fill the table with a pattern no search writes.
    size_t leftOver = 0;
    recorder.onText = [&](const std::string& text) {
        TranspositionTable& table = transpositionTable;
        if (field(text, "games") == "1 of 2 ")
            std::memset(static_cast<void*>(table.buckets), 0xA5, table.byteSize);
        if (field(text, "games") == "2 of 2 ") {
            const auto* bytes = reinterpret_cast<const unsigned char*>(table.buckets);
            for (uint64_t i = 0; i < table.byteSize; i += sizeof(TTEntry))
                leftOver += bytes[i] == 0xA5 && bytes[i + 1] == 0xA5;
        }
    };
    run(options(2, {MateInOne[0]}));
    EXPECT_EQ(testMatch.gamesPlayed, 2);
    EXPECT_EQ(leftOver, 0u);
}

TEST_F(TestMatchRun, StartingAgainStopsTheSearchOrMatchAndRestartsTheStatistics) {
    // A running analysis is stopped before the match sets up its game.
    requestAnalysis();
    TestMatchOptions first = options(400, {});
    first.personalityA.depthLimit = first.personalityB.depthLimit = 1;
    startTestMatch(first);
    recorder.waitForGames(1);

    // The second match replaces the first: fresh statistics, and the settings it restores at
    // its end are the user's, not the first match's.
    run(options(2, {MateInOne[2]}));
    EXPECT_EQ(field(recorder.texts.back(), "games"), "2 of 2 ");
    EXPECT_EQ(recorder.texts.back().substr(0, 11), "+1 -1 =0 \nE");
    EXPECT_EQ(testMatch.gamesPlayed, 2);
    expectUserSettingsBack();

    // Stopping a match ends it and restores the user's settings too.
    startTestMatch(first);
    recorder.waitForGames(1);
    stopSearch();
    expectUserSettingsBack();
}

TEST_F(TestMatchRun, GivingASideToTheUserEndsTheMatch) {
    TestMatchOptions o = options(400, {});
    o.personalityA.depthLimit = o.personalityB.depthLimit = 1;
    startTestMatch(o);
    recorder.waitForGames(2);
    searchInfo.humanSide.store(HumanWhite); // as "Engine Plays Black" does, without a stop
    searchController.waitUntilIdle();
    EXPECT_LT(testMatch.gamesPlayed, 400);
    EXPECT_EQ(searchInfo.humanSide.load(), HumanWhite);
    expectUserSettingsBack();
}

} // namespace
} // namespace corvid
