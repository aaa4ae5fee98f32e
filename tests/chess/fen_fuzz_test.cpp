// Random and mutated FEN text must never crash, overrun, or yield an accepted position that
// breaks the invariants or the move generator's limits.
#include "chess/fen.h"
#include "chess/move_gen.h"
#include "chess/perft.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace corvid {
namespace {

std::vector<std::string> SeedTexts() {
    std::vector<std::string> seeds = {
        StartFen,
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "rnbqkbnr/pppp1ppp/8/3Pp3/8/8/PPP1PPPP/RNBQKBNR w KQkq e6 0 1",
        "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
        "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
        "8/8/8/8/k1p4R/8/3P4/3K4 w - - 0 1",
    };
    std::string path = test::TestDataPath("epd/malformed.epd");
    std::ifstream in(path);
    EXPECT_TRUE(in) << path;
    for (std::string line; std::getline(in, line);) seeds.push_back(line);
    return seeds;
}

std::string Mutate(std::string text, std::mt19937& random) {
    static const std::string alphabet = "pnbrqkPNBRQK12345678/ -wbKQkqABCDEFGHabcdefgh;0x\t";
    int edits = 1 + int(random() % 4);
    for (int i = 0; i < edits; ++i) {
        size_t at = text.empty() ? 0 : random() % text.size();
        switch (random() % 4) {
        case 0:
            if (!text.empty()) text[at] = alphabet[random() % alphabet.size()];
            break;
        case 1:
            text.insert(at, 1, alphabet[random() % alphabet.size()]);
            break;
        case 2:
            if (!text.empty()) text.erase(at, 1);
            break;
        default:
            text.insert(at, 1, char(random() % 256));
            break;
        }
    }
    return text;
}

void CheckAccepted(const Position& p, const std::string& text) {
    ASSERT_EQ(test::PositionInvariantError(p), "") << text;
    MoveList list;
    list.allPromotions = 1;
    GenerateAllMoves(p, list);
    ASSERT_LE(list.count, 256) << text;
    Position copy = p;
    // Walking two plies exercises make-move on whatever was accepted.
    Perft(copy, 2);
    ASSERT_EQ(std::memcmp(&copy, &p, sizeof p), 0) << text;
}

TEST(FenFuzz, MutatedAndRandomTextsAreHandledSafely) {
    test::EnsureTables();
    std::mt19937 random(99);
    std::vector<std::string> seeds = SeedTexts();
    int accepted = 0, refused = 0;
    for (int i = 0; i < 6000; ++i) {
        std::string text;
        if (i % 5 == 4) {
            size_t length = random() % 90;
            for (size_t k = 0; k < length; ++k) text += char(1 + random() % 255);
        } else {
            text = Mutate(seeds[random() % seeds.size()], random);
        }
        CastleInfo info;
        Position p;
        // The text is handed over with its exact length and no terminator beyond it.
        std::vector<char> exact(text.begin(), text.end());
        if (SetPositionFromFen(p, exact.data(), exact.size(), &info)) {
            ++accepted;
            CheckAccepted(p, text);
        } else {
            ++refused;
        }
    }
    EXPECT_GT(accepted, 500);
    EXPECT_GT(refused, 500);
}

} // namespace
} // namespace corvid
