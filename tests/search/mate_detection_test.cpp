#include "search/check_moves.h"
#include "search/mate_detection.h"
#include "search/position_sets.h"
#include "search/threat.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace corvid {
namespace {

int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }
Move M(const char* from, const char* to, int promotion = 0) {
    return MakeMoveCode(Sq(from), Sq(to), promotion);
}

Bitboard ChecksOf(const Position& p, Move move) {
    return GivesCheck(p, move, PrepareCheckSquares(p));
}

int LegalCount(const Position& p) {
    MoveList legal;
    GenerateLegalMoves(p, legal);
    return legal.count;
}

TEST(IsMateMove, PlainMatesAndNonMates) {
    test::FenPosition backRank("6k1/5ppp/8/8/8/8/8/3R2K1 w - - 0 1");
    EXPECT_TRUE(
        isMateMove(backRank.position, M("d1", "d8"), ChecksOf(backRank.position, M("d1", "d8"))));
    EXPECT_FALSE(isMateMove(backRank.position, M("d1", "d7"), 0));
    // A queen defended next to the king: the king may not take it.
    test::FenPosition contact("7k/8/7B/8/8/8/6Q1/6K1 w - - 0 1");
    Move qg7 = M("g2", "g7");
    EXPECT_TRUE(isMateMove(contact.position, qg7, ChecksOf(contact.position, qg7)));
    // Check, but the king walks away.
    test::FenPosition open("7k/8/8/8/8/8/8/3R2K1 w - - 0 1");
    EXPECT_FALSE(isMateMove(open.position, M("d1", "d8"), ChecksOf(open.position, M("d1", "d8"))));
}

TEST(IsMateMove, EnPassantRemovesItsVictim) {
    // exd6 opens the fifth rank for the rook on a5: mate only once d5 is gone.
    test::FenPosition fp("8/4N3/7p/R2pP2k/7p/7B/8/K7 w - d6 0 1");
    Move ep = M("e5", "d6");
    Bitboard checks = ChecksOf(fp.position, ep);
    ASSERT_TRUE(checks);
    EXPECT_TRUE(isMateMove(fp.position, ep, checks));
    Position after = fp.position;
    MakeMoveWithCheck(after, ep);
    EXPECT_EQ(LegalCount(after), 0);
}

TEST(IsMateMove, PromotionLeavesNoPawnBehind) {
    test::FenPosition fp("k7/2P5/1K6/8/8/8/8/8 w - - 0 1");
    Move queen = M("c7", "c8", 0), knight = M("c7", "c8", 1);
    EXPECT_TRUE(isMateMove(fp.position, queen, ChecksOf(fp.position, queen)));
    EXPECT_FALSE(isMateMove(fp.position, knight, ChecksOf(fp.position, knight)));
}

TEST(IsStillMating, ForTheSideNotToMove) {
    // Black to move; White's Rd8 mates if White could move now.
    test::FenPosition free("6k1/5ppp/8/8/8/8/7r/K2R4 b - - 0 1");
    EXPECT_TRUE(isStillMating(free.position, White, M("d1", "d8")));
    EXPECT_FALSE(isStillMating(free.position, White, M("d1", "d7")));
    // The rook is pinned against White's own king: not playable, whatever Black's pins are.
    test::FenPosition pinned("6k1/5ppp/8/8/8/8/8/K2R3r b - - 0 1");
    EXPECT_FALSE(isStillMating(pinned.position, White, M("d1", "d8")));
    // For the side to move directly.
    test::FenPosition white("6k1/5ppp/8/8/8/8/7r/K2R4 w - - 0 1");
    EXPECT_TRUE(isStillMating(white.position, White, M("d1", "d8")));
}

TEST(FindMateMove, MatesInOneAndForcedMatesInTwo) {
    struct Case {
        const char* fen;
        int plies;
        int expected;
        const char* from;
        const char* to;
    } cases[] = {
        {"6k1/5ppp/8/8/8/8/8/3R2K1 w - - 0 1", 1, 1, "d1", "d8"},
        {"7k/8/7B/8/8/8/6Q1/6K1 w - - 0 1", 1, 1, "g2", "g7"},
        {"r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4", 1, 1, "h5", "f7"},
        {"6rk/6pp/8/6N1/8/8/8/K7 w - - 0 1", 1, 1, "g5", "f7"},
        {"6k1/5ppp/8/8/8/8/8/6K1 w - - 0 1", 1, 0, nullptr, nullptr},
        // A mate in one is found at any depth.
        {"6rk/6pp/8/6NQ/8/8/8/K7 w - - 0 1", 3, 1, "h5", "h7"},
        // Qg8+ Rxg8 is forced, then Nf7 smothers; no mate in one.
        {"r6k/6pp/7N/8/8/1Q6/8/1K6 w - - 0 1", 1, 0, nullptr, nullptr},
        {"r6k/6pp/7N/8/8/1Q6/8/1K6 w - - 0 1", 3, 3, "b3", "g8"},
    };
    for (const auto& c : cases) {
        test::FenPosition fp(c.fen);
        Move move = NoMove;
        EXPECT_EQ(findMateMove(fp.position, c.plies, move), c.expected) << c.fen;
        if (c.from) {
            EXPECT_EQ(move, M(c.from, c.to)) << c.fen;
        }
    }
}

TEST(FindMateMove, PinnedPiecesAndKingsDoNotMate) {
    // Nf7 would smother the king, but the knight is pinned along the fifth rank.
    test::FenPosition pinned("6rk/6pp/8/K5Nr/8/8/8/8 w - - 0 1");
    Move move = NoMove;
    EXPECT_EQ(findMateMove(pinned.position, 1, move), 0);
    // In check, only an answer to the check can mate.
    test::FenPosition inCheck("6rk/6pp/8/6N1/8/8/8/K6r w - - 0 1");
    EXPECT_EQ(findMateMove(inCheck.position, 1, move), 0);
}

TEST(FindMateThreat, ForEitherSide) {
    test::FenPosition fp("6k1/5ppp/8/8/8/8/7r/K2R4 b - - 0 1");
    Move move = NoMove;
    EXPECT_EQ(findMateThreat(fp.position, White, move), 1);
    EXPECT_EQ(move, M("d1", "d8"));
    EXPECT_EQ(findMateThreat(fp.position, Black, move), 0);
    // The side to move in check cannot hand over the move.
    test::FenPosition check("6k1/5ppp/8/8/8/8/8/K6r w - - 0 1");
    EXPECT_EQ(findMateThreat(check.position, Black, move), 0);
}

TEST(LimitedEvasions, KingMayNotTakeAlongTheCheckingLine) {
    test::FenPosition fp("4r2k/8/8/8/4K3/4n3/8/8 w - - 0 1");
    MoveList list;
    limitedEvasions(fp.position, list);
    EXPECT_EQ(list.count, 0);
}

TEST(LimitedEvasions, CapturesOfTheCheckerAndFreePieces) {
    // The rook e8 checks; the knight c7 and the bishop b5 take it, the king the free f2.
    test::FenPosition fp("4r2k/2N5/8/1B6/8/8/5n2/3QK3 w - - 0 1");
    MoveList list;
    limitedEvasions(fp.position, list);
    std::set<Move> got(list.moves, list.moves + list.count);
    std::set<Move> want = {M("c7", "e8"), M("b5", "e8"), M("e1", "f2")};
    EXPECT_EQ(got, want);
    // The knight f3 checks; the bishop e2 is pinned by the rook e8, the pawn g2 takes.
    test::FenPosition pinned("4r2k/8/8/8/8/5n2/4B1P1/4K3 w - - 0 1");
    list.count = 0;
    limitedEvasions(pinned.position, list);
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.moves[0], M("g2", "f3"));
    // Double check: nothing.
    test::FenPosition twice("4r2k/8/8/8/8/3n4/8/4K3 w - - 0 1");
    list.count = 0;
    limitedEvasions(twice.position, list);
    EXPECT_EQ(list.count, 0);
}

TEST(CheckClass, FromNoFlightToQuiet) {
    struct Case {
        const char* fen;
        const char* from;
        const char* to;
        int e, threshold;
        int expected;
    } cases[] = {
        {"6k1/5ppp/8/8/8/8/8/3R2K1 w - - 0 1", "d1", "d8", 0, 0, 3},   // no flight square
        {"q3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", "b5", "c7", 0, 0, 2},     // forks the queen
        {"q3k3/8/8/1N6/8/8/8/4K3 w - - 0 1", "b5", "c7", 0, 2000, 0},  // not worth it
        {"6k1/6pp/8/8/8/8/8/3R2K1 w - - 0 1", "d1", "d8", 0, 2000, 1}, // one flight
        {"4k3/8/8/1N6/8/8/8/4K3 w - - 0 1", "b5", "c7", 0, 0, 0},      // many flights
        {"4k3/2P5/8/8/8/8/8/3R2K1 w - - 0 1", "d1", "d8", 0, 2000, 1}, // back-rank support
    };
    for (const auto& c : cases) {
        test::FenPosition fp(c.fen);
        EXPECT_EQ(checkClass(fp.position, M(c.from, c.to), c.e, c.threshold), c.expected) << c.fen;
    }
}

// Over many positions: QuickMateTest agrees with generating every legal move, after every
// checking move; GenerateChecks yields each checking move once and only checking moves;
// limited evasions are legal evasions; class-4 threats come with a mate that works.
struct Totals {
    int checkedPositions = 0;
    int mates = 0;
    int generatedChecks = 0;
    int threatMates = 0;
    int quickMateTests = 0; // positions in check judged both ways
};

void CheckThreatMates(const Position& p, const MoveList& legal, const char* fen, Totals& totals) {
    for (int i = 0; i < legal.count; ++i) {
        Move mateMove = NoMove;
        int threat = threatClassOf(p, legal.moves[i], &mateMove);
        ASSERT_GE(threat, -1) << fen;
        ASSERT_LE(threat, 5) << fen;
        if (threat != 4) continue;
        ++totals.threatMates;
        Position after = p;
        MakeMoveWithCheck(after, legal.moves[i]);
        ASSERT_TRUE(isStillMating(after, p.sideToMove, mateMove)) << fen << " " << legal.moves[i];
    }
}

void CheckPosition(const Position& p, Totals& totals) {
    char fen[128];
    PositionToFen(fen, p);
    MoveList legal;
    GenerateLegalMoves(p, legal);
    CheckSquares cs = PrepareCheckSquares(p);
    const int us = p.sideToMove;
    CheckThreatMates(p, legal, fen, totals);
    if (::testing::Test::HasFatalFailure()) return;

    if (p.checkers) {
        bool mate = QuickMateTest(p, p.checkers, p.blockers[us] & p.colourBB[us], us);
        ASSERT_EQ(mate, legal.count == 0) << fen;
        totals.mates += mate;
        ++totals.quickMateTests;
        ++totals.checkedPositions;
        MoveList limited;
        limitedEvasions(p, limited);
        for (int i = 0; i < limited.count; ++i)
            ASSERT_TRUE(std::count(legal.moves, legal.moves + legal.count, limited.moves[i]))
                << fen << " limited evasion " << limited.moves[i];
        return;
    }

    for (int i = 0; i < legal.count; ++i) {
        Move m = legal.moves[i];
        Bitboard checks = GivesCheck(p, m, cs);
        if (!checks) continue;
        Position after = p;
        UndoInfo undo;
        MakeMove(after, m, checks, undo);
        int them = after.sideToMove;
        bool mate =
            QuickMateTest(after, after.checkers, after.blockers[them] & after.colourBB[them], them);
        ASSERT_EQ(mate, LegalCount(after) == 0) << fen << " after " << m;
        totals.mates += mate;
        ++totals.quickMateTests;
        ASSERT_EQ(isMateMove(p, m, checks), mate) << fen << " after " << m;
    }

    MoveList checks;
    GenerateChecks(p, ~p.colourBB[us], cs, checks);
    std::set<Move> seen;
    for (int i = 0; i < checks.count; ++i) {
        Move m = checks.moves[i];
        ASSERT_TRUE(seen.insert(m).second) << fen << " twice " << m;
        if (!IsLegal(p, m)) continue;
        ASSERT_TRUE(GivesCheck(p, m, cs)) << fen << " no check " << m;
        ASSERT_TRUE(std::count(legal.moves, legal.moves + legal.count, m)) << fen << " " << m;
    }
    totals.generatedChecks += checks.count;
    // Every legal checking move is there, but for castling and direct checks by promotions or
    // by en passant's removed pawn.
    for (int i = 0; i < legal.count; ++i) {
        Move m = legal.moves[i];
        if (!GivesCheck(p, m, cs) || seen.count(m) || IsCastling(p, m)) continue;
        bool pawn = TypeOf(p.board[MoveFrom(m)]) == Pawn;
        bool discovered = (p.blockers[us ^ 1] & SquareBB(MoveFrom(m))) &&
                          !(LineMask[p.kingSquare[us ^ 1]][MoveFrom(m)] & SquareBB(MoveTo(m)));
        bool promotion = pawn && (SquareBB(MoveTo(m)) & PromotionRows);
        bool enPassant = pawn && MoveTo(m) == p.epSquare;
        ASSERT_TRUE(!discovered && (promotion || enPassant)) << fen << " missing " << m;
    }
}

// Play-outs that prefer checks, so that mates and checks are frequent.
void CheckingPlayout(const test::FenPosition& start, int plies, test::TestRandom& random,
                     Totals& totals) {
    test::FenPosition fp(start);
    Position& p = fp.position;
    for (int ply = 0; ply <= plies; ++ply) {
        CheckPosition(p, totals);
        if (::testing::Test::HasFatalFailure()) return;
        MoveList legal;
        GenerateLegalMoves(p, legal);
        if (legal.count == 0) return;
        CheckSquares cs = PrepareCheckSquares(p);
        Move chosen = legal.moves[random.Below(legal.count)];
        for (int tries = 0; tries < 4 && !GivesCheck(p, chosen, cs); ++tries)
            chosen = legal.moves[random.Below(legal.count)];
        MakeMoveWithCheck(p, chosen);
    }
}

TEST(MateDetectionProperty, AgreesWithFullGenerationOnTheCommittedSet) {
    Totals totals;
    for (uint64_t seed = 1; seed <= 10 && !HasFatalFailure(); ++seed) {
        test::TestRandom random(seed);
        for (const char* fen : test::CompactFens) {
            CheckingPlayout(test::FenPosition(fen), 50, random, totals);
            if (HasFatalFailure()) return;
        }
    }
    std::printf("in check %d, quick mate tests %d, mates %d, generated checks %d, threat "
                "mates %d\n",
                totals.checkedPositions, totals.quickMateTests, totals.mates,
                totals.generatedChecks, totals.threatMates);
    EXPECT_GT(totals.quickMateTests, 10000);
    EXPECT_GT(totals.mates, 200);
    EXPECT_GT(totals.generatedChecks, 10000);
    EXPECT_GT(totals.threatMates, 0);
}

TEST(MateDetectionProperty, AgreesWithFullGenerationOnThePositionSuites) {
    std::vector<std::string> fens;
    for (const char* file : {"perftsuite.epd", "cw_perft.epd", "bk.epd"})
        for (std::string& fen : test::EpdFens(file)) fens.push_back(fen);
    for (std::string& fen : test::EpdFens("openings_sample.epd", 10)) fens.push_back(fen);
    Totals totals;
    test::TestRandom random(5);
    for (const std::string& fen : fens) {
        CheckingPlayout(test::FenPosition(fen.c_str()), 30, random, totals);
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(totals.quickMateTests, 10000);
}

} // namespace
} // namespace corvid
