// The Develop displays on fixed positions, checked against counts made by hand and against the
// engine's own numbers; and the side panel's game status.
#include "gui/logic/develop_displays.h"
#include "gui/logic/game_status.h"

#include "control/game.h"
#include "eval/eval_breakdown.h"
#include "eval/evaluate.h"
#include "eval/search_personality.h"
#include "search/transposition_table.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// A back-rank mate in one: Kg1 and Ra1 against Kg8 behind its pawns.
constexpr const char* BackRank = "6k1/5ppp/8/8/8/8/8/R5K1 w - - 0 1";

class DevelopDisplays : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        if (!transpositionTable.buckets) ttResize(18);
        ttClear();
    }
};

TEST_F(DevelopDisplays, MoveInfoCountsWhatCanBeCountedByHand) {
    test::FenPosition fen(BackRank);
    DevelopDisplay info = moveInfoDisplay(fen.position, nullptr);
    // King: f1, f2, g2, h2, h1; rook: a2-a8 and b1-f1. One quiet check, Ra8, and it mates.
    EXPECT_EQ(info.text.rfind("17 Moves\n  0 captures\n  1 checks\n    (1 mates)\n\n  ", 0), 0u)
        << info.text;
    EXPECT_FALSE(has(info.text, "rep\n"));
    // The mate in one is framed in its own colour, over everything else.
    ASSERT_GE(info.marks.size(), 2u);
    EXPECT_EQ(info.marks[info.marks.size() - 2].square, Sq("a1"));
    EXPECT_EQ(info.marks.back().square, Sq("a8"));
    EXPECT_EQ(info.marks.back().rgb, MateMoveColour);

    // Bare kings: every king move is a normal one.
    test::FenPosition kings("8/8/8/4k3/8/8/8/4K3 w - - 0 1");
    info = moveInfoDisplay(kings.position, nullptr);
    EXPECT_EQ(info.text, "5 Moves\n  0 captures\n  0 checks\n    (0 mates)\n\n  0 threats\n"
                         "    (0, 0, 0, 0)\n  0 interesting\n  5 normal\n  0 unsafe\n");
    EXPECT_TRUE(info.marks.empty());

    // Mated, and in check: no checks are counted then.
    test::FenPosition mated("R5k1/5ppp/8/8/8/8/8/6K1 b - - 1 1");
    EXPECT_EQ(moveInfoDisplay(mated.position, nullptr).text.substr(0, 15), "Mate!\n0 Moves\n ");
    // In check from the rook on f1: Kxf1, Kd2 and Ke2 (castling is no way out).
    test::FenPosition check("6k1/5ppp/8/8/8/8/8/R3Kr2 w Q - 0 1");
    info = moveInfoDisplay(check.position, nullptr);
    EXPECT_EQ(info.text.rfind("Check\n3 Moves\n  1 captures\n  0 checks\n", 0), 0u) << info.text;
}

TEST_F(DevelopDisplays, MoveInfoCountsTheThreatClassesAndRepetitions) {
    // Nc7+ forks king and rook (class 3); Ne7 would hang the knight (unsafe).
    test::StartTestGame("r3k3/8/8/3N4/8/8/8/4K2Q w - - 0 1");
    DevelopDisplay info = moveInfoDisplay(currentGamePosition(), gameKeyHistory());
    EXPECT_TRUE(has(info.text, "  0 captures\n")) << info.text;
    EXPECT_FALSE(has(info.text, "  0 unsafe\n")) << info.text;
    int strong = 0;
    for (const BoardMark& mark : info.marks)
        if (mark.rgb == StrongThreatColour && mark.square == Sq("c7")) ++strong;
    EXPECT_EQ(strong, 1) << info.text;

    // The classes add up to the moves.
    int counts[9] = {};
    ASSERT_EQ(std::sscanf(info.text.c_str(),
                          "%d Moves\n  %*d captures\n  %*d checks\n    (%*d mates)\n\n  %d "
                          "threats\n    (%d, %d, %d, %d)\n  %d interesting\n  %d normal\n  %d "
                          "unsafe\n",
                          &counts[0], &counts[1], &counts[2], &counts[3], &counts[4], &counts[5],
                          &counts[6], &counts[7], &counts[8]),
              9);
    EXPECT_EQ(counts[1], counts[2] + counts[3] + counts[4] + counts[5]);
    EXPECT_EQ(counts[0], counts[1] + counts[6] + counts[7] + counts[8]);

    // Kings to and fro twice: the position stood there twice before.
    for (const char* move : {"Kd1", "Kd8", "Ke1", "Ke8", "Kd1", "Kd8", "Ke1", "Ke8"})
        ASSERT_TRUE(playGameMoveText(move)) << move;
    info = moveInfoDisplay(currentGamePosition(), gameKeyHistory());
    EXPECT_TRUE(has(info.text, "unsafe\n2 rep\n")) << info.text;
}

TEST_F(DevelopDisplays, QSearchIsTheEnginesQuiescenceSearch) {
    // Nothing to take: the quiescence search stands pat on the evaluation.
    test::FenPosition quiet("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    QSearchResult r = qsearchDisplay(quiet.position, nullptr, true);
    EXPECT_EQ(r.score, evaluatePosition(quiet.position, EvalWindowMin, EvalWindowMax));
    EXPECT_EQ(r.line, "");
    // A free queen is taken.
    test::FenPosition queen("4k3/8/8/3q4/8/8/8/3QK3 w - - 0 1");
    r = qsearchDisplay(queen.position, nullptr, true);
    EXPECT_EQ(r.line.substr(0, 5), "Qxd5 ");
    EXPECT_GT(r.score, 800);
    EXPECT_GE(r.nodes, 1u);
    EXPECT_EQ(r.text.substr(0, 15), "QSearch \n  Eval");
    EXPECT_TRUE(has(r.text, "\n  Nodes : " + std::to_string(r.nodes) + "\n  Qxd5 "));

    // Its first level looks at quiet checks, as the search's does: the back-rank mate is seen
    // with "Q-Search Checks" on and not with it off.
    test::FenPosition mate(BackRank);
    r = qsearchDisplay(mate.position, nullptr, true);
    EXPECT_EQ(r.score, 9999);
    EXPECT_EQ(r.line, "Ra8# ");
    EXPECT_TRUE(has(r.text, "Eval : White mates in 1\n"));
    SearchSwitches saved = activePersonality.switches;
    activePersonality.switches.qsearchChecks = false;
    ttClear();
    r = qsearchDisplay(mate.position, nullptr, true);
    activePersonality.switches = saved;
    EXPECT_LT(r.score, 2000);
    EXPECT_EQ(r.line, "");
}

TEST_F(DevelopDisplays, TheEvalTermsAddUpToTheEvaluation) {
    const char* fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1",
        "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R b KQ - 0 1",
        "r2q1rk1/1p2bppp/p1n1bn2/4p3/4P3/1NN1BP2/PPPQ2PP/2KR1B1R b - - 0 11",
        "r4rk1/1b3ppp/p2q4/1p1Pp3/8/1B1Q1N2/PP3PPP/R3R1K1 b - - 0 18",
        "6k1/3q1pp1/pp5p/1r5n/8/1P3PP1/PQ4BP/2R3K1 w - - 0 30",
    };
    for (const char* fen : fens) {
        test::FenPosition f(fen);
        EvalDetail detail;
        EvalBreakdown b = evalBreakdown(f.position, detail);
        ASSERT_TRUE(b.detailed) << fen;
        const int white = f.position.sideToMove == White ? b.score : -b.score;
        // The blends of the sides' terms one by one and the final rounding to a multiple of 4
        // leave a few points.
        EXPECT_NEAR(b.termSum(), white, 8) << fen;
        EXPECT_EQ(b.pawns[White], b.structure[White] + b.passed[White]);

        // Every listed piece keeps its own share: together they are the sides' piece terms.
        for (int c = 0; c < 2; ++c) {
            ScorePair sum;
            for (int i = 0; i < detail.side[c].pieceCount; ++i)
                sum +=
                    ScorePair{detail.side[c].pieces[i].valueMg, detail.side[c].pieces[i].valueEg};
            EXPECT_EQ(sum, detail.minorPieces[c] + detail.rooksQueens[c]) << fen << " " << c;
        }

        std::string text = evalDisplayText(f.position, false);
        EXPECT_EQ(text.rfind("Eval : ", 0), 0u) << text;
        char material[64];
        std::snprintf(material, sizeof material, "\n  Material : %d (%d) \n  Mobility : %d  %d\n",
                      b.material, b.rawMaterial, b.mobility[White], b.mobility[Black]);
        EXPECT_TRUE(has(text, material)) << text;
        EXPECT_TRUE(has(text, "\n  King : " + std::to_string(b.king[White]) + "  " +
                                  std::to_string(b.king[Black]) + "\n"))
            << text;
    }
}

TEST_F(DevelopDisplays, PiecesAndKings) {
    // The knight on e2 is pinned to its king by the rook on e8; the bishop is free.
    test::FenPosition f("4r1k1/5ppp/8/8/8/8/3BNPPP/4K3 w - - 0 1");
    const Position& p = f.position;
    DevelopDisplay knight = squareDisplay(p, Sq("e2"));
    ASSERT_EQ(knight.marks.size(), 1u);
    EXPECT_EQ(knight.marks[0].rgb, PinnedPieceColour);
    int total = 0, pos = 0, sq = 0, mat = 0;
    ASSERT_EQ(std::sscanf(knight.text.c_str(), "Knight = %d\n  pos = %d\n  sq = %d\n  mat = %d\n",
                          &total, &pos, &sq, &mat),
              4)
        << knight.text;
    EXPECT_EQ(mat, 320);
    EXPECT_EQ(total, pos + sq + mat);
    EXPECT_NE(pos, 0) << "a listed piece has its own activity share";
    DevelopDisplay bishop = squareDisplay(p, Sq("d2"));
    EXPECT_EQ(bishop.marks[0].rgb, PieceFrameColour);
    EXPECT_EQ(bishop.text.rfind("Bishop = ", 0), 0u);
    DevelopDisplay pawn = squareDisplay(p, Sq("h2"));
    EXPECT_EQ(pawn.text.rfind("Pawn = ", 0), 0u);
    EXPECT_TRUE(has(pawn.text, "  mat = 100\n"));

    // Nothing on the square: nothing shown, the frames cleared.
    DevelopDisplay empty = squareDisplay(p, Sq("a5"));
    EXPECT_TRUE(empty.text.empty());
    EXPECT_TRUE(empty.marks.empty());
}

TEST_F(DevelopDisplays, KingSafetyBreakdown) {
    // A king under attack: the safety is the evaluation's own number.
    test::FenPosition f("r1b2rk1/pp3ppp/2n5/q2pP3/3P2Q1/2PB1N2/P4PPP/R3K2R w KQ - 0 14");
    const Position& p = f.position;
    EvalDetail detail;
    EvalBreakdown b = evalBreakdown(p, detail);
    for (int side = White; side <= Black; ++side) {
        KingDetails k = kingDetails(p, side);
        ASSERT_TRUE(k.detailed);
        EXPECT_EQ(k.safety, b.king[side]);
        EXPECT_EQ(k.parts.result, detail.kingSafety[side]);
        EXPECT_EQ(k.parts.attack, std::clamp(k.parts.attack, 0, 240));
    }
    DevelopDisplay king = squareDisplay(p, p.kingSquare[Black]);
    EXPECT_EQ(king.text.rfind("Black King " + std::to_string(b.king[Black]) + "\nSq ", 0), 0u)
        << king.text;
    EXPECT_TRUE(has(king.text, "\n mult x"));
    EXPECT_TRUE(has(king.text, "\n AttackEvalScore "));
    EXPECT_TRUE(has(king.text, "\n   coverage "));
    EXPECT_EQ(king.text.substr(king.text.size() - 1), "\n");
    // g8: its five neighbours and its own square in light grey last.
    ASSERT_EQ(king.marks.size(), 6u);
    EXPECT_EQ(king.marks.back().square, Sq("g8"));
    EXPECT_EQ(king.marks.back().rgb, PieceFrameColour);
}

TEST(GameStatus, MoveNumberCheckAndMaterialSurplus) {
    struct Case {
        const char* fen;
        const char *move, *white, *black;
    } cases[] = {
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1", "Move # 1", "", ""},
        {"rnb1kbnr/pppp1ppp/8/4p3/6Pq/5P2/PPPPP2P/RNBQKBNR w KQkq - 1 3", "Move # 1  CHECK!", "",
         ""},
        {"4k3/pp6/8/8/8/8/PPP5/RN2K3 b - - 0 40", "Move # 1", "1p, 1N, 1R, ", ""},
        {"3qk3/pp6/8/8/8/8/PP6/1NB1K3 w - - 0 1", "Move # 1", "1N, 1B, ", "1Q, "},
    };
    for (const Case& c : cases) {
        test::StartTestGame(c.fen);
        GameSnapshot s = takeGameSnapshot();
        EXPECT_EQ(moveNumberText(s), c.move) << c.fen;
        EXPECT_EQ(materialSurplus(s, White), c.white) << c.fen;
        EXPECT_EQ(materialSurplus(s, Black), c.black) << c.fen;
    }
}

} // namespace
} // namespace corvid
