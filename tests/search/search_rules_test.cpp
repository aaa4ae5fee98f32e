// The edge cases of the node, the selectivity rules and the root: the ply limit, table hits,
// margins and reductions, the null move's conditions, aspiration windows and the stop rules.
#include "chess/make_move.h"
#include "eval/evaluate.h"
#include "platform/clock.h"
#include "search/reduction_table.h"
#include "search/search.h"
#include "search/selectivity.h"
#include "support/search_support.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvid {
namespace {

constexpr const char* Middlegame =
    "r1bq1rk1/pp2bppp/2n1pn2/3p4/2PP4/2N1PN2/PP2BPPP/R2QKB1R w KQ - 0 1";

// A node of the given kind at the given ply of a search on the FEN.
struct NodeFixture {
    test::SearchRun run;
    NodeState node{};
    NodeFixture(const char* fen, int ply, int depth) : run(test::PrepareSearch(fen)) {
        SearchContext& c = *run.context;
        buildReductionTable();
        c.rootPly = c.position.ply - ply;
        c.iterationDepth = 20;
        c.switches = SearchSwitches{};
        c.searchAge = ttNewSearchAge();
        node.ply = ply;
        node.depth = depth;
        node.nodeType = CutNode;
        node.us = c.position.sideToMove;
        node.them = node.us ^ 1;
        node.inCheck = c.position.checkers != 0;
        node.alpha = -1;
        node.beta = 0;
        node.staticEval = node.evalPrime = 0;
    }
    SearchContext& context() { return *run.context; }
    Move move(int from, int to, int promotion = 0) { return MakeMoveCode(from, to, promotion); }
};

TEST(ReductionTable, FollowsTheLogarithmicRule) {
    buildReductionTable();
    EXPECT_EQ(reductionFor(10, 10), 3); // 1 + trunc(0.5 x ln 10 x ln 6)
    EXPECT_EQ(reductionFor(0, 50), 0);
    EXPECT_EQ(reductionFor(30, 1), 0);
    EXPECT_EQ(reductionFor(1, 60), 1); // ln 1 = 0
    EXPECT_EQ(reductionFor(255, 127), reductionFor(255, 60)) << "f stops growing at 40";
    EXPECT_EQ(reductionFor(400, 400), reductionFor(255, 127)) << "indices are clamped";
    EXPECT_EQ(lateMoveLimit(false, -4), 2);
    EXPECT_EQ(lateMoveLimit(true, 40), 56);
}

TEST(ReverseFutility, MarginGrowsWithDepthThreatsAndLosingBeta) {
    NodeFixture f(Middlegame, 4, 6);
    f.node.improving = true;
    EXPECT_EQ(reverseFutilityMargin(f.context(), f.node), 100 + 3 * 120);
    f.node.improving = false;
    EXPECT_EQ(reverseFutilityMargin(f.context(), f.node), 100 + 3 * 180);
    f.context().stack[3].threatClass = 2;
    f.node.beta = -800;
    EXPECT_EQ(reverseFutilityMargin(f.context(), f.node), 100 + 3 * 180 + 200 + 100);
    NodeFixture few("4k3/8/8/8/8/8/4P3/R3K3 w - - 0 1", 4, 2);
    EXPECT_EQ(reverseFutilityMargin(few.context(), few.node), 300 + 180);
}

TEST(NullMove, NeedsTheStaticEvaluationAboveBetaByADepthMargin) {
    NodeFixture f(Middlegame, 4, 14);
    f.node.beta = 100;
    f.node.staticEval = 100;
    EXPECT_FALSE(nullMoveApplies(f.context(), f.node));
    f.node.staticEval = 101;
    EXPECT_TRUE(nullMoveApplies(f.context(), f.node));
    f.node.depth = 4;
    f.node.staticEval = 150;
    EXPECT_FALSE(nullMoveApplies(f.context(), f.node));
    f.node.staticEval = 151;
    EXPECT_TRUE(nullMoveApplies(f.context(), f.node));
    f.node.depth = 3;
    EXPECT_FALSE(nullMoveApplies(f.context(), f.node));
    f.node.depth = 4;
    f.context().nullMoveAllowed = false;
    EXPECT_FALSE(nullMoveApplies(f.context(), f.node)) << "pawnless root";
    f.context().nullMoveAllowed = true;
    f.context().switches.nullMovePruning = false;
    EXPECT_FALSE(nullMoveApplies(f.context(), f.node));
    NodeFixture pawnsOnly("4k3/8/8/8/8/8/4P3/4K3 w - - 0 1", 4, 8);
    pawnsOnly.node.staticEval = 900;
    EXPECT_FALSE(nullMoveApplies(pawnsOnly.context(), pawnsOnly.node)) << "no piece to move";
}

TEST(NullMove, DepthAfterTheNullMove) {
    NodeFixture f(Middlegame, 4, 12);
    EXPECT_EQ(nullMoveDepth(f.context(), f.node), 6 - 6 / 4);
    f.node.threatened = true;
    EXPECT_EQ(nullMoveDepth(f.context(), f.node), 6 + 2);
    NodeFixture bare("4k3/8/8/8/8/8/3PPP2/3QK3 w - - 0 1", 4, 12);
    bare.node.beta = 0;
    bare.node.staticEval = 2000;
    // Opponent without pawns and without material, no pieces: every bonus applies.
    EXPECT_EQ(nullMoveDepth(bare.context(), bare.node), (6 - 1) - 2 - 4 - 4);
}

TEST(Extensions, ChecksSingularMovesPawnsToTheSeventhAndRecaptures) {
    NodeFixture g("4k3/8/1P6/8/8/8/8/4K3 w - - 0 1", 4, 8);
    Move b6b7 = g.move(17, 9);
    EXPECT_EQ(extensionFor(g.context(), g.node, b6b7, 0, 5, 0, false), 2);
    g.node.depth = 10;
    EXPECT_EQ(extensionFor(g.context(), g.node, b6b7, 0, 5, 0, false), 0);
    EXPECT_EQ(extensionFor(g.context(), g.node, b6b7, 0, 0, 0, true), 2) << "singular";
    EXPECT_EQ(extensionFor(g.context(), g.node, b6b7, SquareBB(9), 0, 0, false), 2) << "check";
    EXPECT_EQ(extensionFor(g.context(), g.node, b6b7, SquareBB(9), -1, 0, false), 0)
        << "a hanging checker gets nothing";
    // Recapture in the ending: the king takes the last piece, which had just taken a minor.
    NodeFixture r("4k3/8/8/8/8/8/3n4/4K3 w - - 0 1", 4, 8);
    Move kxd2 = r.move(60, 51);
    r.context().stack[3].capturedType = Bishop;
    EXPECT_EQ(extensionFor(r.context(), r.node, kxd2, 0, 0, 320, false), 4);
    r.context().stack[3].capturedType = Pawn;
    EXPECT_EQ(extensionFor(r.context(), r.node, kxd2, 0, 0, 320, false), 0);
}

TEST(LateMoveReductions, QuietLateMovesAndUnderPromotions) {
    NodeFixture f(Middlegame, 4, 22);
    f.node.nodeType = PvNode;
    Move quiet = f.move(48, 40); // a2-a3
    EXPECT_EQ(lateMoveReduction(f.context(), f.node, quiet, QuietStage, false, 0, 0, 20, 9), 4);
    EXPECT_EQ(lateMoveReduction(f.context(), f.node, quiet, QuietStage, true, 0, 0, 20, 9), 0);
    EXPECT_EQ(lateMoveReduction(f.context(), f.node, quiet, QuietStage, false, 0, 0, 4, 9), 0)
        << "new depth must exceed two plies";
    f.context().switches.lateMoveReductions = false;
    EXPECT_EQ(lateMoveReduction(f.context(), f.node, quiet, QuietStage, false, 0, 0, 20, 9), 0);

    NodeFixture p("4k3/1P6/8/8/8/8/8/4K3 w - - 0 1", 4, 12);
    Move underPromotion = p.move(9, 1, 1); // b8=N
    Move queening = p.move(9, 1, 0);
    EXPECT_EQ(
        lateMoveReduction(p.context(), p.node, underPromotion, CaptureStage, true, 0, 0, 10, 3), 6);
    EXPECT_EQ(lateMoveReduction(p.context(), p.node, queening, CaptureStage, true, 0, 0, 10, 3), 0);
    EXPECT_EQ(lateMoveReduction(p.context(), p.node, underPromotion, CaptureStage, true,
                                SquareBB(4), 0, 10, 3),
              0)
        << "a checking under-promotion keeps its depth";
}

TEST(LateMovePruning, CountsOnlyQuietStagesAndNeverTheFirstMove) {
    NodeFixture f(Middlegame, 4, 2);
    Move quiet = f.move(48, 40);
    EXPECT_TRUE(lateMovePruned(f.context(), f.node, quiet, QuietStage, false, 0, 0, 5));
    EXPECT_FALSE(lateMovePruned(f.context(), f.node, quiet, QuietStage, true, 0, 0, 5));
    EXPECT_FALSE(lateMovePruned(f.context(), f.node, quiet, QuietStage, false, 0, 0, 0));
    EXPECT_FALSE(lateMovePruned(f.context(), f.node, quiet, CaptureStage, false, 0, 0, 5));
    EXPECT_FALSE(lateMovePruned(f.context(), f.node, quiet, HashStage, false, 0, 0, 5));
    f.node.nodeType = PvNode;
    EXPECT_FALSE(lateMovePruned(f.context(), f.node, quiet, QuietStage, false, 0, 0, 5));
    f.node.nodeType = CutNode;
    f.context().iterationDepth = 4; // depth must stay within the iteration's depth - 2 plies
    EXPECT_FALSE(lateMovePruned(f.context(), f.node, quiet, QuietStage, false, 0, 0, 5));
}

// Nodes beyond the ply limit return the static evaluation and touch no record.
TEST(SearchStack, PlyLimitIsTestedBeforeAnyRecordIsWritten) {
    test::SearchSettings settings;
    for (int ply : {MaxPly, MaxPly + 44, 300}) {
        test::SearchRun run = test::PrepareSearch(Middlegame);
        SearchContext& c = *run.context;
        c.rootPly = c.position.ply - ply;
        c.iterationDepth = 6;
        std::memset(c.stack, 0xAB, sizeof c.stack);
        unsigned char before[sizeof c.stack];
        std::memcpy(before, c.stack, sizeof before);
        int v = searchNode(c, -100, 100, 6, true, PvNode);
        EXPECT_EQ(v, evaluatePosition(c.position, -100, 100, nullptr)) << "ply " << ply;
        EXPECT_EQ(std::memcmp(before, c.stack, sizeof before), 0) << "ply " << ply;
    }
    // The deepest full node works inside the stack.
    test::SearchRun run = test::PrepareSearch(Middlegame);
    SearchContext& c = *run.context;
    c.rootPly = c.position.ply - (MaxPly - 1);
    c.iterationDepth = 6;
    int v = searchNode(c, -100, 100, 4, true, PvNode);
    EXPECT_GT(v, -MateThreshold);
    EXPECT_LT(v, MateThreshold);
    static_assert(StackSize >= MaxPly + 3, "records up to ply + 2 of the deepest node");
}

TEST(SearchStack, LinesAreTruncatedToTheirArrays) {
    Move child[MaxPv];
    for (int i = 0; i < MaxPv; ++i) child[i] = MakeMoveCode(8, 16);
    Move line[MaxPv + 1];
    line[MaxPv] = 0x7777;
    EXPECT_EQ(buildLine(line, MakeMoveCode(52, 36), child, MaxPv), MaxPv);
    EXPECT_EQ(line[0], MakeMoveCode(52, 36));
    EXPECT_EQ(line[MaxPv - 1], MakeMoveCode(8, 16));
    EXPECT_EQ(line[MaxPv], 0x7777) << "nothing written past the array";
    EXPECT_EQ(buildLine(line, MakeMoveCode(52, 36), child, -3), 1);
}

TEST(TableHit, CutsOffOnlyOutsidePvNodesBeyondPlyTwo) {
    test::SearchSettings settings;
    for (auto [ply, type, cuts] : {std::tuple{3, CutNode, true}, std::tuple{3, PvNode, false},
                                   std::tuple{2, CutNode, false}}) {
        test::SearchRun run = test::PrepareSearch(Middlegame);
        SearchContext& c = *run.context;
        ttClear();
        c.rootPly = c.position.ply - ply;
        c.iterationDepth = 8;
        c.searchAge = ttNewSearchAge();
        ttStore(c.position.key, -MateValue, MateValue, NoMove, 55, 20, ply, int(c.searchAge),
                NoScore, 0);
        int v = searchNode(c, 54, 56, 4, true, type);
        if (cuts) {
            EXPECT_EQ(v, 55);
            EXPECT_EQ(c.nodes, 0u);
            EXPECT_EQ(c.stack[ply].pv[1], TableLineEnd);
        } else {
            EXPECT_GT(c.nodes, 0u) << "ply " << ply << " type " << type;
        }
    }
}

TEST(MateInOne, AtPlyPScores9999MinusP) {
    test::SearchSettings settings;
    for (const char* fen :
         {"6k1/5ppp/8/8/8/8/5PPP/3R2K1 w - - 0 1", "6k1/5ppp/8/8/8/8/1R3PPP/3R2K1 w - - 0 1"}) {
        test::SearchRun run = test::PrepareSearch(fen);
        SearchContext& c = *run.context;
        ttClear();
        c.rootPly = c.position.ply - 5;
        c.iterationDepth = 8;
        EXPECT_EQ(searchNode(c, -MateValue, MateValue, 6, true, PvNode), MateValue - 1 - 5) << fen;
        EXPECT_TRUE(isRealMove(c.stack[5].pv[0])) << fen;
    }
}

// Every legal move that futility skipped still counts: the node fails low instead of reading
// as a stalemate.
TEST(NoMoveSearched, PrunedMovesAreNotAStalemate) {
    test::SearchSettings settings;
    test::SearchRun run = test::PrepareSearch("1k6/8/7r/7q/8/8/P7/K7 w - - 0 1");
    SearchContext& c = *run.context;
    ttClear();
    c.rootPly = c.position.ply - 2;
    c.iterationDepth = 8;
    int v = searchNode(c, -100, -99, 2, false, CutNode);
    EXPECT_EQ(v, -100);
}

TEST(NullMove, ChildSearchSeesThePostNullKey) {
    test::SearchSettings settings;
    test::SearchRun run = test::PrepareSearch("r3k3/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w - - 0 1");
    SearchContext& c = *run.context;
    ttClear();
    c.rootPly = c.position.ply - 3;
    c.iterationDepth = 12;
    c.switches.futilityPruning = false;   // let the null move be the rule that cuts
    c.setKey(c.position.ply + 1, 0x1234); // a stale key from another line
    uint64_t key = c.position.key;
    int v = searchNode(c, -1, 0, 8, true, CutNode);
    EXPECT_EQ(v, 0) << "the null move cuts off";
    EXPECT_EQ(c.keyAt(c.position.ply + 1), key ^ ZobristSide);
}

// After a first move that failed, the alternative-move search looks at the same position one
// record deeper: that record's key entry must be the position's own, not a child's.
TEST(AlternativeMoveSearch, WritesTheUnchangedKeyForTheNextRecord) {
    test::SearchSettings settings;
    test::SearchRun run = test::PrepareSearch("6r1/8/8/p7/P7/5k2/8/7K w - - 0 1"); // Kh2 only
    SearchContext& c = *run.context;
    ttClear();
    c.rootPly = c.position.ply - 3;
    c.iterationDepth = 20;
    int v = searchNode(c, 500, 501, 8, false, CutNode);
    EXPECT_LT(v, 501);
    EXPECT_EQ(c.keyAt(c.position.ply + 1), c.position.key);
    EXPECT_EQ(c.stack[4].excludedMove, NoMove) << "the excluded move is cleared afterwards";
}

TEST(Abort, StopLetsTheFirstIterationFinishAndLaterNodesReturnAtOnce) {
    test::SearchSettings settings({}, SearchState::Thinking);
    searchInfo.targetTime.store(1000);
    searchInfo.stopRequest.store(StopRequest::MoveNow);
    test::SearchRun run = test::PrepareSearch(Middlegame);
    SearchContext& c = *run.context;
    Move best = rootSearch(c, 10);
    EXPECT_NE(best, NoMove);
    EXPECT_EQ(c.iterationDepth, 4) << "the second iteration stopped at its first node";
    EXPECT_EQ(c.rootLines[0].depth, 2);
    c.iterationDepth = 4;
    c.aborted = false;
    EXPECT_EQ(searchNode(c, -100, 100, 4, true, PvNode), AbortScore);
    searchInfo.targetTime.store(0);
}

TEST(Abort, APonderMissStopsEvenTheFirstIteration) {
    test::SearchSettings settings({}, SearchState::Pondering);
    searchInfo.ponderState.store(PonderState::PonderMiss);
    test::SearchRun run = test::PrepareSearch(Middlegame);
    SearchContext& c = *run.context;
    c.iterationDepth = 2;
    EXPECT_EQ(searchNode(c, -100, 100, 2, false, PvNode), AbortScore);
}

TEST(Abort, NodeLimitEndsTheSearchWithASoundResult) {
    test::SearchSettings settings({}, SearchState::Thinking);
    searchInfo.targetTime.store(1000);
    searchInfo.maxNodes.store(20000);
    test::SearchRun run = test::PrepareSearch(Middlegame);
    SearchContext& c = *run.context;
    ttClear();
    Move best = rootSearch(c, 30);
    searchInfo.maxNodes.store(0);
    searchInfo.targetTime.store(0);
    EXPECT_TRUE(IsPseudoLegal(c.rootPosition, best, c.rootSide, false));
    EXPECT_LT(std::abs(c.rootLines[0].score), MateValue);
    EXPECT_LT(c.nodes, 40000u);
    // No stored score came from the stopped search.
    TTProbe probe;
    ttProbe(c.rootPosition.key, -MateValue, MateValue, 0, 0, int(c.searchAge), probe);
    EXPECT_LT(std::abs(probe.score), AbortScore);
}

TEST(Aspiration, WindowsAndTheirWideningSequence) {
    for (int depth : {2, 8}) {
        AspirationWindow w = firstAspirationWindow(35, depth);
        EXPECT_EQ(w.alpha, -9801);
        EXPECT_EQ(w.beta, 9801);
    }
    AspirationWindow w = firstAspirationWindow(350, 10);
    EXPECT_EQ(w.alpha, 310);
    EXPECT_EQ(w.beta, 390);
    w = widenAspirationWindow(w, 350, 390);
    EXPECT_EQ(w.alpha, 310);
    EXPECT_EQ(w.beta, 514);
    w = widenAspirationWindow(w, 350, 514);
    EXPECT_EQ(w.beta, 9801);
    w = widenAspirationWindow(w, 350, 9801);
    EXPECT_EQ(w.beta, 10001);
    w = widenAspirationWindow(w, 350, 10001);
    EXPECT_EQ(w.step, 4) << "no search after the last window";

    w = firstAspirationWindow(-20, 12);
    EXPECT_EQ(w.alpha, -48);
    EXPECT_EQ(w.beta, 8);
    w = widenAspirationWindow(w, -20, -48);
    EXPECT_EQ(w.alpha, -48 - 88);
    EXPECT_EQ(w.beta, 8);

    w = firstAspirationWindow(500, 12);
    EXPECT_EQ(w.alpha, 500 - 124);
    EXPECT_EQ(w.beta, 500 + 124);
    w = firstAspirationWindow(950, 12);
    EXPECT_EQ(w.alpha, -9801);
    w = firstAspirationWindow(9950, 12);
    EXPECT_EQ(w.alpha, -10001);
    EXPECT_EQ(w.beta, 10001);
    EXPECT_EQ(w.step, 3);
}

TEST(StopRules, BetweenIterations) {
    test::SearchSettings settings({}, SearchState::Thinking);
    searchInfo.targetTime.store(2.0);
    searchInfo.extraTime.store(0.0);
    // Rook takes a knight on d5; the move has not changed.
    test::SearchRun run = test::PrepareSearch("4k3/8/8/3n4/8/8/8/3RK3 w - - 0 1");
    SearchContext& c = *run.context;
    c.rootMoves.count = 0;
    GenerateLegalMoves(c.rootPosition, c.rootMoves);
    c.rootLines[0].move = MakeMoveCode(59, 27);
    c.iterationDepth = 8;
    c.bestMoveChanges = 0;
    c.firstMoveTime = 0;
    c.searchStart = c.iterationStart = millisecondClock();
    EXPECT_FALSE(stopBetweenIterations(c, 0));
    EXPECT_TRUE(stopBetweenIterations(c, AbortScore));
    c.searchStart -= 900; // 45% of the target time has gone
    EXPECT_TRUE(stopBetweenIterations(c, 0));
    c.bestMoveChanges = 1;
    EXPECT_FALSE(stopBetweenIterations(c, 0));
    c.firstMoveTime = 1.5; // 1.4 x 1.5 s exceeds what is left of 2 s
    EXPECT_TRUE(stopBetweenIterations(c, 0));
    c.firstMoveTime = 0;
    c.iterationDepth = 6;
    EXPECT_FALSE(stopBetweenIterations(c, AbortScore)) << "not before the fourth iteration";
    searchInfo.searchState.store(SearchState::Analyzing);
    c.iterationDepth = 8;
    EXPECT_FALSE(stopBetweenIterations(c, AbortScore)) << "analysis runs on";
    searchInfo.targetTime.store(0);
}

TEST(StopRules, AForcedMoveIsPlayedAfterTheFourthIteration) {
    test::SearchSettings settings({}, SearchState::Thinking);
    searchInfo.targetTime.store(1000);
    test::SearchRun run = test::PrepareSearch("6r1/8/8/8/8/5k2/8/7K w - - 0 1");
    Move best = rootSearch(*run.context, 20);
    EXPECT_EQ(best, MakeMoveCode(63, 55));
    EXPECT_EQ(run.context->iterationDepth, 8);
    searchInfo.targetTime.store(0);
}

TEST(RootSearch, PawnlessRootAllowsNoNullMove) {
    test::SearchRun run = test::SearchFen("4k3/8/8/8/3n4/8/8/2RRK3 w - - 0 1", 5);
    EXPECT_FALSE(run.context->nullMoveAllowed);
    SearchSwitches off;
    off.nullMovePruning = false;
    EXPECT_EQ(test::SearchFen("4k3/8/8/8/3n4/8/8/2RRK3 w - - 0 1", 5, off).nodes, run.nodes);
    EXPECT_TRUE(test::SearchFen(Middlegame, 2).context->nullMoveAllowed);
}

TEST(RootSearch, NoLegalMoveGivesNoMove) {
    EXPECT_EQ(test::SearchFen("3R2k1/5ppp/8/8/8/8/5PPP/6K1 b - - 0 1", 4).best, NoMove);
    EXPECT_EQ(test::SearchFen("7k/5Q2/6K1/8/8/8/8/8 b - - 0 1", 4).best, NoMove);
}

// A root move into a position seen before is searched with a widened window and scored 3/4.
TEST(RootSearch, RepetitionDampingScalesTheScore) {
    test::SearchSettings settings;
    const char* fen = "6r1/8/8/p7/P7/5k2/8/7K w - - 0 1"; // Kh2 is the only move
    int scores[2];
    for (int repeated = 0; repeated < 2; ++repeated) {
        test::SearchRun run = test::PrepareSearch(fen);
        SearchContext& c = *run.context;
        Position root = c.rootPosition;
        root.ply = 10;
        root.lastIrreversiblePly = 0;
        Position after = root;
        MakeMoveWithCheck(after, MakeMoveCode(63, 55));
        uint64_t keys[10] = {};
        if (repeated) keys[9] = after.key;
        setUpSearchContext(c, root, keys);
        ttClear();
        rootSearch(c, 4);
        scores[repeated] = c.rootLines[0].score;
    }
    EXPECT_NE(scores[0], 0);
    EXPECT_EQ(scores[1], scores[0] * 3 / 4);
}

} // namespace
} // namespace corvid
