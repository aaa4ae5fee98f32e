#include "eval/piece_activity.h"

#include "eval/attack_info.h"
#include "eval/eval_test_util.h"
#include "eval/evaluate.h"
#include "eval/king_safety.h"
#include "eval/pawn_structure.h"
#include "eval/search_personality.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

// Runs the piece terms of a position the way the evaluation does.
struct Analysed {
    test::FenPosition fp;
    PawnCacheEntry entry;
    EvalDetail detail{};
    ScorePair activity;

    explicit Analysed(const char* fen) : fp(fen) {
        computePawnEntry(fp.position, entry);
        buildAttackInfo(detail, fp.position);
        activity = pieceActivityTerm(fp.position.sideToMove, fp.position, entry, detail);
    }
};

TEST(AttackInfo, PieceListHoldsTenPiecesAndTheBitboardsAll) {
    // Eleven white pieces: the rook on h1 (last in square order) is not listed.
    Analysed a("5k2/8/8/8/8/8/QQQQ4/NNBQKBRR w - -");
    const SideAttackInfo& white = a.detail.side[White];
    EXPECT_EQ(white.pieceCount, 10);
    for (int i = 0; i < white.pieceCount; ++i) EXPECT_NE(white.pieces[i].square, 63);
    EXPECT_TRUE(white.rookAttacks & SquareBB(15)); // only the h1 rook reaches h7

    // The list runs in square order for both colours, so the colour-flipped twin drops a
    // different piece: the queen on d7, the highest square, not the mirrored h8 rook. This is
    // the one place where a position and its twin may score differently.
    Analysed twin("nnbqkbrr/qqqq4/8/8/8/8/8/5K2 b - -");
    const SideAttackInfo& black = twin.detail.side[Black];
    EXPECT_EQ(black.pieceCount, 10);
    bool rookListed = false;
    for (int i = 0; i < black.pieceCount; ++i) {
        EXPECT_NE(black.pieces[i].square, 11);
        rookListed |= black.pieces[i].square == 7;
    }
    EXPECT_TRUE(rookListed);
}

TEST(AttackInfo, PinnedPiecesKeepTheirLine) {
    // The knight on e2 is pinned by the e8 rook: it attacks nothing. The bishop on d2 pinned
    // by the a5 bishop keeps the diagonal.
    Analysed a("4r1k1/8/8/b7/8/8/3BN3/4K3 w - -");
    EXPECT_EQ(a.detail.side[White].knightAttacks, 0u);
    EXPECT_EQ(a.detail.side[White].bishopAttacks,
              SquareBB(24) | SquareBB(33) | SquareBB(42) | SquareBB(60));
}

TEST(PieceActivity, KnightCornerTrap) {
    // A white knight on a8 with black pawns a7, b7 and the black king next to c7: -64.
    Analysed trapped("N7/pp1k4/8/8/8/8/6PP/6K1 w - -");
    Analysed free("N7/pp6/8/5k2/8/8/6PP/6K1 w - -");
    EXPECT_EQ(trapped.detail.minorPieces[White] - free.detail.minorPieces[White],
              (ScorePair{-64, -64}));
    Analysed half("N7/p2k4/8/8/8/8/6PP/6K1 w - -"); // without b7: -32
    Analysed halfFree("N7/p7/8/5k2/8/8/6PP/6K1 w - -");
    EXPECT_EQ(half.detail.minorPieces[White] - halfFree.detail.minorPieces[White],
              (ScorePair{-32, -32}));
}

TEST(PieceActivity, TrappedBishop) {
    // a7 shut in by b6: -75 with the black king next to b7, -50 without.
    Analysed king("2k5/B7/1p6/8/8/8/6PP/6K1 w - -");
    Analysed far("8/B7/1p6/5k2/8/8/6PP/6K1 w - -");
    EXPECT_EQ(king.detail.minorPieces[White].mg - far.detail.minorPieces[White].mg, -25);
}

TEST(PieceActivity, RooksOnTheSeventh) {
    Analysed a("6k1/RR6/8/8/8/8/6PP/6K1 w - -");
    EXPECT_EQ(a.detail.placement[White], (ScorePair{40, 40}));
    Analysed away("8/RR6/8/6k1/8/8/6PP/6K1 w - -");
    EXPECT_EQ(away.detail.placement[White], (ScorePair{16, 16}));
}

TEST(KingSafety, LittleAttackingMaterialScoresActivityOnly) {
    // Rook and bishop (842) cannot mount an attack: the black king is scored by its activity.
    Analysed a("6k1/5ppp/8/8/8/8/5PPP/3RB1K1 w - -");
    EXPECT_EQ(a.detail.kingSafety[Black], kingActivity(Black, a.fp.position, a.detail));
}

TEST(KingSafety, WeightZeroRemovesIt) {
    const char* fen = "r1bq1rk1/pp3ppp/2n1pn2/3p4/2PP4/2NBPN2/PP3PPP/R2QK2R w KQ -";
    Analysed full(fen);
    SearchPersonality saved = activePersonality;
    activePersonality.kingSafetyWeight = 0;
    Analysed none(fen);
    activePersonality = saved;
    int king = full.detail.kingSafety[White] - full.detail.kingSafety[Black];
    EXPECT_EQ(full.activity.mg - none.activity.mg, king);
    EXPECT_EQ(full.activity.eg - none.activity.eg, king);
}

TEST(KingSafety, ManyAttackersStayInsideTheMultiplierTable) {
    // Promoted queens swarm the black king: the attacker count runs past the table's end.
    Analysed a("7k/4QQ2/3QQ3/2QQ4/1QQ5/8/8/K7 b - -");
    int safety = a.detail.kingSafety[Black];
    EXPECT_GE(safety, -400);
    EXPECT_LE(safety, 100);
}

TEST(KingSafety, Chess960KingsNearTheEdgeUseTheirCastlingTarget) {
    // Kings on b1/b8 with the queen-side right and on g1/g8 with the king-side right: the
    // castled shelter is read at c- and g-file squares of the king's rank.
    test::FenPosition queenSide("rk5r/ppp2ppp/8/8/8/8/PPP2PPP/RK5R w Qq -");
    test::FenPosition kingSide("r5kr/ppp2ppp/8/8/8/8/PPP2PPP/R5KR w Kk -");
    test::FenPosition kingSideNoRights("r5kr/ppp2ppp/8/8/8/8/PPP2PPP/R5KR w - -");
    for (const test::FenPosition* fp : {&queenSide, &kingSide, &kingSideNoRights}) {
        PawnCacheEntry entry;
        computePawnEntry(fp->position, entry);
        int white = kingShelter(White, fp->position, entry);
        int black = kingShelter(Black, fp->position, entry);
        EXPECT_EQ(white, black); // the position is symmetric
        EXPECT_GT(white, -100);
        evaluatePosition(fp->position, EvalWindowMin, EvalWindowMax);
    }
    // On g1 the castling target is the king's own square: the right changes nothing.
    PawnCacheEntry a, b;
    computePawnEntry(kingSide.position, a);
    computePawnEntry(kingSideNoRights.position, b);
    EXPECT_EQ(kingShelter(White, kingSide.position, a),
              kingShelter(White, kingSideNoRights.position, b));
}

} // namespace
} // namespace corvid
