#include "search/exchange.h"
#include "search/move_picker.h"
#include "search/position_sets.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace corvid {
namespace {

Move M(int from, int to, int promotion = 0) { return MakeMoveCode(from, to, promotion); }
int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }

struct Picked {
    Move move;
    Stage stage;
};

std::vector<Picked> PickAll(const Position& p, const MoveHistory& history, const Move* killers,
                            Move ttMove, Move excluded, int prev1, int prev2) {
    MovePicker picker;
    InitMovePicker(picker, p, history, killers, ttMove, excluded, prev1, prev2);
    std::vector<Picked> out;
    for (Move m; (m = NextMove(picker)) != NoMove;) out.push_back({m, picker.moveStage});
    return out;
}

std::vector<Move> MovesOf(const std::vector<Picked>& picked) {
    std::vector<Move> moves;
    for (const Picked& p : picked) moves.push_back(p.move);
    return moves;
}

class PickerOrder : public ::testing::Test {
protected:
    void SetUp() override {
        history = std::make_unique<MoveHistory>();
        ClearHistory(*history);
    }
    std::unique_ptr<MoveHistory> history;
};

TEST_F(PickerOrder, StagesInOrderWithLosingCapturesLast) {
    // Nxd5 and Qxd5 win a rook; Qxf6 loses the queen to the g7 pawn.
    test::FenPosition fp("4k3/6p1/5p2/3r4/8/2N2Q2/8/4K3 w - - 0 1");
    const Position& p = fp.position;
    Move hash = M(Sq("f3"), Sq("h5"));
    Move killers[2] = {M(Sq("c3"), Sq("b5")), M(Sq("e1"), Sq("e2"))};
    Move counter = M(Sq("f3"), Sq("g4"));
    int prev1 = 300;
    history->counterMoves[prev1] = counter;
    Move favourite = M(Sq("c3"), Sq("a4"));
    history->mainHistory[HistoryGroup(p.board[Sq("c3")])][favourite & 4095] = 500;

    std::vector<Picked> picked = PickAll(p, *history, killers, hash, 0, prev1, 0);
    ASSERT_GE(picked.size(), 9u);
    std::vector<Move> moves = MovesOf(picked);
    EXPECT_EQ(moves[0], hash);
    EXPECT_EQ(picked[0].stage, Stage::HashMove);
    EXPECT_EQ(moves[1], M(Sq("c3"), Sq("d5")));
    EXPECT_EQ(moves[2], M(Sq("f3"), Sq("d5")));
    EXPECT_EQ(picked[2].stage, Stage::Captures);
    EXPECT_EQ(moves[3], killers[1]);
    EXPECT_EQ(moves[4], killers[0]);
    EXPECT_EQ(moves[5], counter);
    EXPECT_EQ(picked[5].stage, Stage::Refutations);
    EXPECT_EQ(moves[6], favourite);
    EXPECT_EQ(picked[6].stage, Stage::Quiets);
    EXPECT_EQ(moves.back(), M(Sq("f3"), Sq("f6")));
    EXPECT_EQ(picked.back().stage, Stage::BadCaptures);
    // Each once.
    for (Move m : {hash, killers[0], killers[1], counter})
        EXPECT_EQ(std::count(moves.begin(), moves.end(), m), 1);
}

TEST_F(PickerOrder, InvalidTableAndKillerMovesAreNotTried) {
    test::FenPosition fp("4k3/6p1/5p2/3r4/8/2N2Q2/8/4K3 w - - 0 1");
    const Position& p = fp.position;
    // A black move, a capture as killer (killers must be quiet), a marker.
    Move killers[2] = {M(Sq("f3"), Sq("d5")), 0x8001};
    std::vector<Picked> picked = PickAll(p, *history, killers, M(Sq("g7"), Sq("g6")), 0, 0, 0);
    EXPECT_EQ(picked[0].stage, Stage::Captures);
    for (const Picked& x : picked) EXPECT_NE(x.stage, Stage::Refutations);
}

TEST_F(PickerOrder, ExcludedMoveNeverComesOut) {
    test::FenPosition fp("4k3/6p1/5p2/3r4/8/2N2Q2/8/4K3 w - - 0 1");
    Move excluded = M(Sq("c3"), Sq("d5"));
    Move killers[2] = {0, 0};
    std::vector<Move> moves =
        MovesOf(PickAll(fp.position, *history, killers, excluded, excluded, 0, 0));
    EXPECT_EQ(std::count(moves.begin(), moves.end(), excluded), 0);
}

TEST_F(PickerOrder, InCheckHashMoveFirstThenKillerWhateverTheirKeys) {
    // The rook on e8 checks; Qxe8 sorts first as a capture.
    test::FenPosition fp("4r1k1/8/8/1Q6/8/8/8/4K3 w - - 0 1");
    const Position& p = fp.position;
    Move hash = M(Sq("e1"), Sq("f1"));
    Move killers[2] = {0, M(Sq("b5"), Sq("e2"))};
    std::vector<Picked> picked = PickAll(p, *history, killers, hash, 0, 0, 0);
    ASSERT_GE(picked.size(), 4u);
    EXPECT_EQ(picked[0].move, hash);
    EXPECT_EQ(picked[1].move, killers[1]);
    EXPECT_EQ(picked[2].move, M(Sq("b5"), Sq("e8")));
    EXPECT_EQ(picked[0].stage, Stage::Evasions);
    MovePicker picker;
    InitMovePicker(picker, p, *history, killers, hash, 0, 0, 0);
    MoveList legal;
    GenerateLegalMoves(p, legal);
    EXPECT_EQ(picker.evasionCount, legal.count);
    // Without them, the capture comes first.
    Move none[2] = {0, 0};
    EXPECT_EQ(PickAll(p, *history, none, 0, 0, 0, 0)[0].move, M(Sq("b5"), Sq("e8")));
}

TEST_F(PickerOrder, PromotedMoveComesOutNext) {
    test::FenPosition fp("4k3/6p1/5p2/3r4/8/2N2Q2/8/4K3 w - - 0 1");
    Move killers[2] = {0, 0};
    MovePicker picker;
    InitMovePicker(picker, fp.position, *history, killers, 0, 0, 0, 0);
    Move first;
    while ((first = NextMove(picker)) != NoMove && picker.moveStage != Stage::Quiets) {
    }
    Move target = M(Sq("e1"), Sq("f1"));
    ASSERT_NE(first, target);
    EXPECT_TRUE(PromoteNextMove(picker, target));
    EXPECT_EQ(NextMove(picker), target);
    EXPECT_FALSE(PromoteNextMove(picker, target)); // already out
}

// The property every node relies on: each legal move exactly once, whatever the table,
// killers, counter moves and history say, in and out of check.
struct PropertyStats {
    int positions = 0;
    int inCheck = 0;
    int deferred = 0;
};

void CheckPickerProperty(const Position& p, const MoveHistory& history, test::TestRandom& random,
                         Move foreign, PropertyStats& stats) {
    MoveList legal;
    legal.allPromotions = 0;
    GenerateLegalMoves(p, legal);
    auto randomLegal = [&]() { return legal.count ? legal.moves[random.Below(legal.count)] : 0; };
    auto candidate = [&]() -> Move {
        switch (random.Below(6)) {
        case 0:
            return 0;
        case 1:
            return 0x8001;
        case 2:
            return foreign;
        case 3:
            return Move(random.Next() & 0x3FFF);
        default:
            return randomLegal();
        }
    };
    Move killers[2] = {candidate(), candidate()};
    Move ttMove = candidate();
    Move excluded = random.Below(4) == 0 ? randomLegal() : 0;
    int prev1 = random.Below(3) ? random.Below(1024) : 0;
    int prev2 = random.Below(1024);

    std::vector<Picked> picked = PickAll(p, history, killers, ttMove, excluded, prev1, prev2);
    char fen[128];
    PositionToFen(fen, p);
    std::vector<Move> got = MovesOf(picked), want(legal.moves, legal.moves + legal.count);
    if (excluded) want.erase(std::find(want.begin(), want.end(), excluded));
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    ASSERT_EQ(got, want) << fen << " tt " << ttMove << " killers " << killers[0] << ","
                         << killers[1] << " excluded " << excluded;

    // Stages never go back; each stage's moves are of its kind.
    for (size_t i = 0; i < picked.size(); ++i) {
        const Picked& x = picked[i];
        if (i > 0) {
            ASSERT_LE(picked[i - 1].stage, x.stage) << fen;
        }
        bool quiet = IsQuietMove(p, x.move);
        bool ep = TypeOf(p.board[MoveFrom(x.move)]) == Pawn && MoveTo(x.move) == p.epSquare;
        bool castling = IsCastling(p, x.move);
        switch (x.stage) {
        case Stage::HashMove:
            ASSERT_EQ(x.move, ttMove) << fen;
            ASSERT_EQ(i, 0u) << fen;
            break;
        case Stage::Captures:
            ASSERT_TRUE((!quiet && !castling) || ep) << fen;
            ASSERT_TRUE(seeAtLeast(p, x.move, -21)) << fen;
            break;
        case Stage::Refutations:
            ASSERT_TRUE(x.move == killers[0] || x.move == killers[1] ||
                        x.move == history.counterMoves[prev1])
                << fen;
            ASSERT_TRUE(quiet || castling) << fen;
            break;
        case Stage::Quiets:
            ASSERT_TRUE((quiet && !ep) || castling) << fen;
            break;
        case Stage::BadCaptures:
            ASSERT_FALSE(seeAtLeast(p, x.move, -21)) << fen;
            ++stats.deferred;
            break;
        case Stage::Evasions:
            ASSERT_TRUE(p.checkers) << fen;
            break;
        default:
            FAIL() << fen;
        }
    }
    if (p.checkers) {
        ++stats.inCheck;
        bool ttFirst = std::find(want.begin(), want.end(), ttMove) != want.end();
        if (ttFirst) {
            ASSERT_EQ(picked[0].move, ttMove) << fen;
        }
    }
    ++stats.positions;
}

class PickerProperty : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        history = std::make_unique<MoveHistory>();
        test::TestRandom random(7);
        int16_t* raw = &history->mainHistory[0][0];
        for (size_t i = 0; i < sizeof(history->mainHistory) / 2; ++i)
            raw[i] = int16_t(random.Below(4001) - 2000);
        raw = &history->continuation1[0][0][0];
        for (size_t i = 0; i < sizeof(history->continuation1) / 2; ++i)
            raw[i] = int16_t(random.Below(4001) - 2000);
        raw = &history->continuation2[0][0][0];
        for (size_t i = 0; i < sizeof(history->continuation2) / 2; ++i)
            raw[i] = int16_t(random.Below(4001) - 2000);
        for (Move& m : history->counterMoves) m = Move(random.Next() & 0x3FFF);
    }

    void Run(const std::vector<std::string>& fens, int playoutPlies, uint64_t seed,
             PropertyStats& stats) {
        test::TestRandom random(seed);
        for (const std::string& fen : fens) {
            test::FenPosition start(fen.c_str());
            Move previous = 0; // a move of the previous position, mostly not playable here
            test::RandomPlayout(start, playoutPlies, random, [&](const Position& p) {
                MoveList legal;
                GenerateLegalMoves(p, legal);
                // Learned counter moves point at moves of this position now and then.
                if (legal.count && random.Below(2))
                    history->counterMoves[random.Below(1024)] =
                        legal.moves[random.Below(legal.count)];
                CheckPickerProperty(p, *history, random, previous, stats);
                if (legal.count) previous = legal.moves[random.Below(legal.count)];
            });
            if (HasFatalFailure()) return;
        }
    }
    std::unique_ptr<MoveHistory> history;
};

TEST_F(PickerProperty, EveryLegalMoveExactlyOnceOnTheCommittedSet) {
    std::vector<std::string> fens(std::begin(test::CompactFens), std::end(test::CompactFens));
    PropertyStats stats;
    for (uint64_t seed = 1; seed <= 8 && !HasFatalFailure(); ++seed) Run(fens, 60, seed, stats);
    EXPECT_GT(stats.positions, 10000);
    EXPECT_GT(stats.inCheck, 300);
    EXPECT_GT(stats.deferred, 1000);
}

TEST_F(PickerProperty, EveryLegalMoveExactlyOnceOnThePositionSuites) {
    std::vector<std::string> fens;
    for (const char* file : {"perftsuite.epd", "cw_perft.epd", "bk.epd", "pet.epd"})
        for (std::string& fen : test::EpdFens(file)) fens.push_back(fen);
    for (std::string& fen : test::EpdFens("openings_sample.epd", 5)) fens.push_back(fen);
    PropertyStats stats;
    Run(fens, 12, 99, stats);
    EXPECT_GT(stats.positions, 5000);
}

} // namespace
} // namespace corvid
