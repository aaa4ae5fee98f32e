// Mutated and random move texts and PGN files: nothing crashes or reads past its input (the
// sanitizer build checks), and every position reached keeps its invariants.
#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "chess/move_text.h"
#include "chess/pgn.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace corvid {
namespace {

const char* PoolFens[] = {
    StartFen,
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf -",
    "r3k2r/1P6/8/3pP3/8/8/6p1/R3K2R w KQkq d6",
    "4k3/8/8/8/8/8/4q3/4K3 w - -",
};

std::string Mutate(std::string text, std::mt19937_64& rng, const std::string& alphabet) {
    int edits = 1 + int(rng() % 4);
    for (int e = 0; e < edits; ++e) {
        size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
        char c = alphabet[rng() % alphabet.size()];
        switch (rng() % 5) {
        case 0:
            text.insert(text.begin() + long(at), c);
            break;
        case 1:
            if (at < text.size()) text.erase(at, 1);
            break;
        case 2:
            if (at < text.size()) text[at] = c;
            break;
        case 3:
            text = text.substr(0, at);
            break;
        default:
            if (at < text.size()) text.insert(at, text.substr(at, rng() % 20));
            break;
        }
    }
    return text;
}

TEST(NotationFuzz, MutatedAndRandomMoveTexts) {
    test::EnsureTables();
    std::mt19937_64 rng(20240607);
    const std::string alphabet = "abcdefghijNBRQKPpnbrqkOo0-x=+#123456789 .e\t\"\\{}!?";
    std::vector<test::FenPosition> pool;
    for (const char* fen : PoolFens) pool.emplace_back(fen);
    static GameRecord record;
    int played = 0, inputs = 0;
    for (int round = 0; round < 6000; ++round) {
        const Position& p = pool[rng() % pool.size()].position;
        MoveList legal;
        legal.allPromotions = 1;
        GenerateLegalMoves(p, legal);
        std::string text;
        if (round % 3 == 0 || legal.count == 0) {
            size_t length = rng() % 14;
            for (size_t i = 0; i < length; ++i) text += alphabet[rng() % alphabet.size()];
        } else {
            char buffer[MoveTextBufferSize];
            FormatMove(buffer, legal.moves[rng() % size_t(legal.count)], p, int(rng() % 3));
            text = Mutate(buffer, rng, alphabet);
        }
        ++inputs;
        Position copy = p;
        record.moveCount = 0;
        if (!ParseAndPlayMove(text, copy, true, record)) {
            ASSERT_EQ(copy.key, p.key) << "'" << text << "' changed the position after failing";
            continue;
        }
        ++played;
        ASSERT_EQ(test::PositionInvariantError(copy), "") << text;
        ASSERT_EQ(copy.ply, p.ply + 1) << text;
        // What played is one of the legal moves (or the null move).
        bool known = IsNullMoveText(text);
        for (int i = 0; i < legal.count && !known; ++i) {
            Position after = p;
            MakeMoveWithCheck(after, legal.moves[i]);
            known = after.key == copy.key;
        }
        ASSERT_TRUE(known) << "'" << text << "' played something illegal";

        // Any 16-bit value formats without harm: a playable move or "xx".
        char out[MoveTextBufferSize];
        Move garbage = Move(rng());
        for (int form = 0; form < 3; ++form) FormatMove(out, garbage, p, form);
    }
    RecordProperty("inputs", inputs);
    EXPECT_GT(played, 1000);
}

struct TempFile {
    std::string path;
    TempFile() {
        char pattern[] = "/tmp/corvid_fuzz_XXXXXX";
        int fd = mkstemp(pattern);
        if (fd >= 0) close(fd);
        path = pattern;
    }
    ~TempFile() { std::remove(path.c_str()); }
    void Write(const std::string& content) const {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    }
};

const char* SeedPgn =
    "[Event \"Seed\"]\n[White \"A\"]\n[Current Ply \"5\"]\n"
    "[FEN \"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -\"]\n"
    "\n{c} 1. O-O (1. Kd2 {x} $1) O-O-O ; comment\n2. Ra7 Rd2 3. Rxa8+ Rd8 1-0\n\n"
    "[Event \"Two\"]\n\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Ba4 Nf6 5. O-O Be7 *\n";

std::string SeedText() {
    std::string path = test::TestDataPath("pgn/reader_tests/synthetic/corvid_edge_cases.pgn");
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    std::stringstream s;
    s << in.rdbuf();
    return s.str() + SeedPgn;
}

TEST(PgnFuzz, MutatedAndRandomFiles) {
    test::EnsureTables();
    std::mt19937_64 rng(77);
    std::string seed = SeedText();
    const std::string alphabet = "{}()[];$%\"\\\r\n\t 0123456789.-=+#xKQRBNOabcdefgh*/\xEF\xBB\xBF";
    TempFile file;
    static GameRecord record;
    int games = 0;
    test::StartTestGame(StartFen);
    for (int round = 0; round < 2500; ++round) {
        std::string text;
        if (round % 4 == 0) {
            size_t length = rng() % 600;
            for (size_t i = 0; i < length; ++i)
                text += round % 8 == 0 ? char(rng()) : alphabet[rng() % alphabet.size()];
        } else {
            size_t offset = rng() % seed.size();
            text = Mutate(seed.substr(offset, 300 + rng() % 1500), rng, alphabet);
            for (int k = 0; k < 6; ++k) text = Mutate(text, rng, alphabet);
        }
        // Read from memory: thousands of files would be slow on some disks.
        std::FILE* in = fmemopen(text.data(), text.size(), "rb");
        ASSERT_NE(in, nullptr);
        PgnReader reader(in);
        PgnTags tags;
        std::string moves;
        while (reader.NextGame(tags, moves)) {
            ++games;
            ASSERT_LT(moves.size(), size_t(PgnMoveTextSize));
            CastleInfo info;
            Position position;
            if (!SetPositionFromFen(position, tags.fen[0] ? tags.fen : StartFen, &info)) continue;
            record.moveCount = 0;
            ParseMoveList(record, moves, position);
            ASSERT_EQ(test::PositionInvariantError(position), "") << text;
            ASSERT_LE(record.moveCount, MaxGamePly);
        }
        std::fclose(in);

        // The whole load into the game shown, with its Current Ply tag.
        if (round % 25 != 0) continue;
        file.Write(text);
        int n = 1 + int(rng() % 2);
        int loaded = LoadPgnGame(file.path.c_str(), n, round % 2 == 0);
        ASSERT_LE(loaded, n);
        ASSERT_EQ(test::PositionInvariantError(gamePosition), "") << text;
        ASSERT_LE(gamePosition.ply, MaxGamePly);
    }
    RecordProperty("games", games);
    EXPECT_GT(games, 2000);
}

} // namespace
} // namespace corvid
