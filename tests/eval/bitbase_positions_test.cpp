// The generated bitbases, read through the engine's probes: classic endgame positions and the
// tablebase-scored positions of the test data that fall inside the nine tables.
#include "eval/bitbase.h"
#include "eval/bitbase_probe.h"
#include "eval/evaluate.h"
#include "eval/pawn_ending_eval.h"
#include "support/test_support.h"

#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace corvid {
namespace {

using test::FenPosition;

class GeneratedBitbases : public ::testing::Test {
protected:
    void SetUp() override {
        loadBitbases(std::string(CORVID_BINARY_DIR) + "/bitbases");
        for (const BitbaseTable* t :
             {&bitbases.pawnRace, &bitbases.kpk, &bitbases.kpkp, &bitbases.kpkq, &bitbases.kppkp,
              &bitbases.kpkr, &bitbases.kppk, &bitbases.kpnk, &bitbases.kpbk})
            if (!t->loaded()) GTEST_SKIP() << "bitbases not in the build tree";
    }
    void TearDown() override { loadBitbases("no-such-bitbase-folder"); }
};

struct Known {
    const char* fen;
    const char* what;
    int (*probe)(const Position&, int);
    int strong;
    int bit;
};

TEST_F(GeneratedBitbases, ClassicPositions) {
    const Known cases[] = {
        // Reti: neither side wins.
        {"7K/8/k1P5/7p/8/8/8/8 w - -", "Reti, White", probeKpkp, White, 0},
        {"7K/8/k1P5/7p/8/8/8/8 w - -", "Reti, Black", probeKpkp, Black, 0},
        // Bishop of the wrong colour for the rook pawn draws; the right one wins.
        {"k7/8/8/8/8/8/P7/2B1K3 w - -", "wrong bishop", probeKpxk, White, 1},
        {"3k1b2/7p/8/8/8/8/8/7K b - -", "wrong bishop, Black", probeKpxk, Black, 1},
        {"k7/8/8/8/8/8/P7/4KB2 w - -", "right bishop", probeKpxk, White, 0},
        // The knight cannot save a rook pawn the bare king takes in the corner.
        {"k7/P7/8/8/8/8/8/4K1N1 b - -", "knight and a7 pawn", probeKpxk, White, 1},
        // Queen against a pawn on the seventh with its king beside it: the pawn side holds.
        {"7q/PK6/8/8/8/8/8/7k w - -", "KPKQ a-pawn", probeKpkq, White, 1},
        {"7q/1KP5/8/8/8/8/8/6k1 w - -", "KPKQ c-pawn", probeKpkq, White, 1},
        // Saavedra: the pawn side is not lost (it wins).
        {"8/8/1KP5/3r4/8/8/8/k7 w - -", "Saavedra", probeKpkr, White, 1},
        // King and pawn on the sixth rank: e7 wins at once; with Black to move ...Kd8 draws by
        // stalemate. The king behind its pawn never wins (...Ke7 blocks).
        {"4k3/8/3KP3/8/8/8/8/8 w - -", "KPK, White to move", probeKpk, White, 0},
        {"4k3/8/3KP3/8/8/8/8/8 b - -", "KPK, Black to move", probeKpk, White, 1},
        {"4k3/8/4P3/4K3/8/8/8/8 b - -", "KPK, king behind", probeKpk, White, 1},
        // Black's pawn, seen with the board turned.
        {"8/8/8/8/8/4pk2/8/4K3 b - -", "KPK Black to move", probeKpk, Black, 0},
    };
    for (const Known& k : cases) {
        FenPosition f(k.fen);
        EXPECT_EQ(k.probe(f.position, k.strong), k.bit) << k.what << ": " << k.fen;
    }
}

// The evaluation turns known results into scores: drawn is 0, won is far ahead.
TEST_F(GeneratedBitbases, EvaluationFollowsTheTables) {
    auto eval = [](const char* fen) {
        FenPosition f(fen);
        return evaluatePosition(f.position, EvalWindowMin, EvalWindowMax);
    };
    EXPECT_EQ(eval("4k3/8/3KP3/8/8/8/8/8 b - -"), 0);
    EXPECT_GT(eval("4k3/8/3KP3/8/8/8/8/8 w - -"), 700);
    EXPECT_EQ(eval("7K/8/k1P5/7p/8/8/8/8 w - -"), 0);     // Reti
    EXPECT_EQ(eval("k7/P7/8/8/8/8/8/4K1N1 b - -"), 0);    // knight and rook pawn
    EXPECT_GT(eval("8/8/8/k7/8/8/4P3/4K1N1 w - -"), 700); // knight and a free pawn
    // Queen against a7 with the pawn's king beside it: far from the queen's full value.
    EXPECT_LT(eval("7q/PK6/8/8/8/8/8/7k b - -"), 200);
}

// The pawn race table tells that White's a-pawn runs home before Black's king arrives; the
// distance rule alone leaves the race open.
TEST_F(GeneratedBitbases, PawnRaceTableDecidesTheRace) {
    FenPosition f("7k/7p/8/P7/8/8/7P/K7 w - -");
    int withTable = pawnEndingEval(f.position, White);
    loadBitbases("no-such-bitbase-folder");
    int without = pawnEndingEval(f.position, White);
    EXPECT_GE(withTable - without, 250) << withTable << " " << without;
}

enum Result { Loss = -1, Draw = 0, Win = 1 };

// Checks one scored position against whichever table covers it; returns false when none does.
bool checkPosition(const Position& p, Result stmResult, const std::string& line) {
    auto resultFor = [&](int colour) {
        return p.sideToMove == colour ? stmResult : Result(-stmResult);
    };
    int w = p.pawnCount[White], b = p.pawnCount[Black];
    int pw = p.pieceCount[White], pb = p.pieceCount[Black];
    if (pw == 0 && pb == 0) {
        if (w + b == 1) {
            int strong = w ? White : Black;
            EXPECT_EQ(probeKpk(p, strong), resultFor(strong) != Win) << line;
            return true;
        }
        if (w == 1 && b == 1) {
            EXPECT_EQ(probeKpkp(p, White), resultFor(White) == Win) << line;
            EXPECT_EQ(probeKpkp(p, Black), resultFor(Black) == Win) << line;
            return true;
        }
        if (w + b == 2) {
            int strong = w ? White : Black;
            EXPECT_EQ(probeKppk(p, strong), resultFor(strong) != Win) << line;
            return true;
        }
        if (w + b == 3 && w && b) {
            int strong = w == 2 ? White : Black;
            int bit = probeKppkp(p, strong);
            if (bit < 0) return false;
            EXPECT_EQ(bit, resultFor(strong) != Win) << line;
            return true;
        }
        return false;
    }
    for (int x = White; x <= Black; ++x) {
        int y = x ^ 1;
        if (p.material[x] == 100 && p.pawnCount[y] == 0 && p.pieceCount[y] == 1) {
            bool queen = p.Pieces(y, Queen) != 0, rook = p.Pieces(y, Rook) != 0;
            int bit = queen ? probeKpkq(p, x) : rook ? probeKpkr(p, x) : -1;
            // A pushed second- or third-rank pawn stands for the push, not for the position.
            int row = x == White ? RowOf(LowestSquare(p.Pieces(x, Pawn)))
                                 : 7 - RowOf(LowestSquare(p.Pieces(x, Pawn)));
            if (bit < 0 || row > 4) return false;
            EXPECT_EQ(bit, resultFor(x) != Loss) << line;
            return true;
        }
        bool minor = p.material[x] == 420 || p.material[x] == 440;
        if (minor && p.pawnCount[x] == 1 && p.material[y] == 0) {
            EXPECT_EQ(probeKpxk(p, x), resultFor(x) != Win) << line;
            return true;
        }
    }
    return false;
}

TEST_F(GeneratedBitbases, TablebaseScoredPositions) {
    int checked = 0;
    for (const char* file : {"epd/tb_gaviota_dm_3_4men.epd", "epd/tb_gaviota_dm_5men.epd",
                             "epd/tb_syzygy_wdl_dtz.epd"}) {
        std::string path = test::TestDataPath(file);
        std::ifstream in(path);
        ASSERT_TRUE(in) << path;
        for (std::string line; std::getline(in, line);) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream fields(line);
            std::string board, side, castling, ep;
            fields >> board >> side >> castling >> ep;
            if (ep != "-") continue; // the tables hold no en passant rights
            Result r;
            size_t dm = line.find(" dm "), wdl = line.find("wdl ");
            if (dm != std::string::npos) {
                int n = std::atoi(line.c_str() + dm + 4);
                r = n > 0 ? Win : n < 0 ? Loss : Draw;
            } else if (wdl != std::string::npos) {
                int n = std::atoi(line.c_str() + wdl + 4);
                r = n > 0 ? Win : n < 0 ? Loss : Draw; // the fifty-move rule is not modelled
            } else {
                continue;
            }
            std::string fen = board + " " + side + " " + castling + " -";
            FenPosition f(fen.c_str());
            checked += checkPosition(f.position, r, line);
        }
    }
    EXPECT_GE(checked, 20);
    std::printf("checked %d tablebase positions\n", checked);
}

} // namespace
} // namespace corvid
