#include "chess/fen.h"
#include "chess/pgn.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace corvid {
namespace {

struct FileCounts {
    int games = 0, plies = 0, failed = 0, results = 0;
};

FileCounts ReplayFile(const std::string& path) {
    static GameRecord record;
    FileCounts counts;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    EXPECT_NE(file, nullptr) << path;
    if (!file) return counts;
    PgnReader reader(file);
    PgnTags tags;
    std::string text;
    while (reader.NextGame(tags, text)) {
        ++counts.games;
        CastleInfo info;
        Position position;
        if (!SetPositionFromFen(position, tags.fen[0] ? tags.fen : StartFen, &info)) {
            ADD_FAILURE() << path << " game " << counts.games << ": bad FEN " << tags.fen;
            continue;
        }
        record.moveCount = 0;
        MoveListStats stats = ParseMoveList(record, text, position);
        EXPECT_EQ(stats.failed, 0) << path << " game " << counts.games;
        EXPECT_EQ(stats.results, 1) << path << " game " << counts.games;
        counts.plies += stats.played;
        counts.failed += stats.failed;
        counts.results += stats.results;
    }
    std::fclose(file);
    return counts;
}

// Every game of the master and engine collections replays: every token plays as a move except
// the one result token that ends each game.
TEST(PgnFiles, MasterAndEngineGamesReplayCompletely) {
    std::string master = test::SharedDataPath("pgn/master");
    std::string engine = test::SharedDataPath("pgn/engine");
    if (master.empty() || engine.empty()) GTEST_SKIP() << "shared PGN data not present";
    test::EnsureTables();
    FileCounts total;
    for (const std::string& folder : {master, engine})
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            FileCounts counts = ReplayFile(entry.path().string());
            total.games += counts.games;
            total.plies += counts.plies;
            total.failed += counts.failed;
            total.results += counts.results;
        }
    RecordProperty("games", total.games);
    RecordProperty("plies", total.plies);
    EXPECT_EQ(total.games, 10124 + 140);
    EXPECT_EQ(total.results, total.games);
    EXPECT_EQ(total.failed, 0);
}

} // namespace
} // namespace corvid
