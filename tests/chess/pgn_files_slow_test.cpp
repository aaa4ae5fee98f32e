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
    FileCounts& operator+=(const FileCounts& other) {
        games += other.games;
        plies += other.plies;
        failed += other.failed;
        results += other.results;
        return *this;
    }
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

// Every game of the master and engine games of the test data and of the default book's source
// replays: every token plays as a move except the one result token that ends each game.
TEST(PgnFiles, MasterAndEngineGamesReplayCompletely) {
    test::EnsureTables();
    struct Folder {
        std::string path;
        int games;
    };
    const Folder folders[] = {{test::TestDataPath("pgn/master"), 240},
                              {test::TestDataPath("pgn/engine"), 16},
                              {test::SourcePath("data/book"), 10124}};
    FileCounts total;
    for (const Folder& folder : folders) {
        FileCounts counts;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path))
            counts += ReplayFile(entry.path().string());
        EXPECT_EQ(counts.games, folder.games) << folder.path;
        total += counts;
    }
    RecordProperty("games", total.games);
    RecordProperty("plies", total.plies);
    EXPECT_EQ(total.results, total.games);
    EXPECT_EQ(total.failed, 0);
}

} // namespace
} // namespace corvid
