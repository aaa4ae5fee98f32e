// Move generation groups and order, castling, and the legality, validity and check tests.
#include "chess/attacks.h"
#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace corvid {
namespace {

std::string Texts(const Position& p, const MoveList& list) {
    std::string out;
    for (int i = 0; i < list.count; ++i) {
        char text[8];
        FormatCoordinate(text, list.moves[i], p, true);
        if (i) out += ' ';
        out += text;
    }
    return out;
}

Move Find(const Position& p, const char* text) {
    MoveList list;
    list.allPromotions = 1;
    GenerateAllMoves(p, list);
    for (int i = 0; i < list.count; ++i) {
        char buffer[8];
        FormatCoordinate(buffer, list.moves[i], p, true);
        if (std::string(buffer) == text) return list.moves[i];
    }
    return NoMove;
}

TEST(MoveGen, PromotionPiecesAndTheirOrder) {
    test::FenPosition fp("4k3/8/8/8/8/8/4p3/K7 b - - 0 1");
    MoveList two;
    GenerateMoves(fp.position, two, fp.position.Pieces(Black, Pawn), ~Bitboard{0}, PawnBoth, false,
                  true);
    EXPECT_EQ(Texts(fp.position, two), "e2e1q e2e1n");
    MoveList four;
    four.allPromotions = 1;
    GenerateMoves(fp.position, four, fp.position.Pieces(Black, Pawn), ~Bitboard{0}, PawnBoth, false,
                  true);
    EXPECT_EQ(Texts(fp.position, four), "e2e1q e2e1n e2e1b e2e1r");
    MoveList none;
    GenerateMoves(fp.position, none, ~Bitboard{0}, ~Bitboard{0}, PawnPushesOnly, false, false);
    EXPECT_EQ(none.count, 0);
}

TEST(MoveGen, PawnBatchesComeInTheFixedOrder) {
    // White captures toward the a-file first, then toward the h-file; pushes, then double steps.
    test::FenPosition fp("4k3/8/8/8/2p1p3/3P4/6P1/4K3 w - - 0 1");
    MoveList list;
    GenerateMoves(fp.position, list, fp.position.Pieces(White, Pawn), ~fp.position.colourBB[White],
                  PawnBoth, false, true);
    EXPECT_EQ(Texts(fp.position, list), "d3c4 d3e4 d3d4 g2g3 g2g4");
}

TEST(MoveGen, TheEnemyKingIsNeverACaptureTarget) {
    // Only an unvalidated position can offer it: a knight on d6 against the king on e8.
    test::FenPosition fp("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    fp.position.board[19] = MakePiece(White, Knight);
    SetupDerived(fp.position);
    MoveList list;
    GenerateMoves(fp.position, list, ~Bitboard{0}, ~Bitboard{0}, PawnBoth, true, true);
    for (int i = 0; i < list.count; ++i) EXPECT_NE(MoveTo(list.moves[i]), 4);
}

TEST(MoveGen, CastlingThroughAttackedSquares) {
    // f1 attacked: king side castling is not generated at all.
    test::FenPosition transit("4k3/8/8/8/8/8/5r2/R3K2R w KQ - 0 1");
    EXPECT_EQ(Find(transit.position, "e1h1"), NoMove);
    EXPECT_NE(Find(transit.position, "e1a1"), NoMove);
    // g1 attacked: generated, refused by the legality test.
    test::FenPosition destination("4k3/8/8/8/8/8/6r1/R3K2R w KQ - 0 1");
    Move castle = Find(destination.position, "e1h1");
    ASSERT_NE(castle, NoMove);
    EXPECT_FALSE(IsLegal(destination.position, castle));
}

TEST(MoveGen, Chess960CastlingCases) {
    // King on g1 with its rook on h1: castling leaves the king where it is.
    test::FenPosition still("4k3/8/8/8/8/8/8/6KR w H - 0 1");
    Move castle = Find(still.position, "g1h1");
    ASSERT_NE(castle, NoMove);
    ASSERT_TRUE(IsLegal(still.position, castle));
    MakeMoveWithCheck(still.position, castle);
    EXPECT_EQ(still.position.board[62], MakePiece(White, King));
    EXPECT_EQ(still.position.board[61], MakePiece(White, Rook));
    EXPECT_EQ(test::PositionInvariantError(still.position), "");

    // The castling rook on b1 hides the queen's attack on c1: queen side castling is illegal.
    test::FenPosition hidden("4k3/8/8/8/8/8/8/qR3K2 w B - 0 1");
    MoveList legal;
    GenerateLegalMoves(hidden.position, legal);
    EXPECT_EQ(legal.count, 9);

    // Castling that checks along the rank the king has just left.
    test::FenPosition checking("8/7p/8/8/8/8/8/k1KR4 w D - 0 1");
    Move o_o = Find(checking.position, "c1d1");
    ASSERT_NE(o_o, NoMove);
    MakeMoveWithCheck(checking.position, o_o);
    EXPECT_NE(checking.position.checkers, 0u);
    MoveList replies;
    GenerateLegalMoves(checking.position, replies);
    EXPECT_EQ(Texts(checking.position, replies), "a1a2 a1b2");
}

TEST(MoveGen, EnPassantThatUncoversARookIsIllegal) {
    test::FenPosition fp("8/8/8/KPp4r/8/8/8/7k w - c6 0 1");
    Move ep = Find(fp.position, "b5c6");
    ASSERT_NE(ep, NoMove);
    EXPECT_FALSE(IsLegal(fp.position, ep));
}

TEST(MoveGen, PseudoLegalityOfMovesFromOutside) {
    test::FenPosition fp("r3k2r/8/8/8/4p3/8/3P4/R3K2R w KQkq - 0 1");
    const Position& p = fp.position;
    EXPECT_TRUE(IsPseudoLegal(p, MakeMoveCode(51, 35), White, false));  // d2d4
    EXPECT_FALSE(IsPseudoLegal(p, MakeMoveCode(43, 27), White, false)); // no piece on d3
    EXPECT_FALSE(IsPseudoLegal(p, MakeMoveCode(36, 44), White, false)); // black pawn
    EXPECT_FALSE(IsPseudoLegal(p, MakeMoveCode(4, 12), White, false));  // black king
    EXPECT_TRUE(IsPseudoLegal(p, MakeMoveCode(60, 63), White, true));   // castling
    EXPECT_FALSE(IsPseudoLegal(p, MakeMoveCode(56, 0), White, true));   // capture, quiet only
    EXPECT_TRUE(IsPseudoLegal(p, MakeMoveCode(56, 0), White, false));
    EXPECT_FALSE(IsPseudoLegal(p, MakeMoveCode(51, 35) | 0x8000, White, false)); // marker
    EXPECT_FALSE(IsPseudoLegal(p, MakeMoveCode(51, 35), Black, false));          // not to move
    EXPECT_FALSE(IsPseudoLegal(p, NoMove, White, false));

    // A double step from a non-start row, and a promotion with quiet only.
    test::FenPosition pawns("4k3/1P6/8/8/8/4P3/8/4K3 w - - 0 1");
    EXPECT_FALSE(IsPseudoLegal(pawns.position, MakeMoveCode(44, 28), White, false));
    EXPECT_TRUE(IsPseudoLegal(pawns.position, MakeMoveCode(9, 1), White, false));
    EXPECT_FALSE(IsPseudoLegal(pawns.position, MakeMoveCode(9, 1), White, true));

    // In check: castling refused, and other moves must answer the check.
    test::FenPosition check("r3k2r/8/8/8/4r3/8/8/R3K2R w KQkq - 0 1");
    EXPECT_FALSE(IsPseudoLegal(check.position, MakeMoveCode(60, 63), White, false));
    EXPECT_FALSE(IsPseudoLegal(check.position, MakeMoveCode(56, 48), White, false)); // Ra2
    EXPECT_TRUE(IsPseudoLegal(check.position, MakeMoveCode(60, 59), White, false));  // Kd1
    // A king step along the checking line is not an escape.
    test::FenPosition line("4k3/8/8/8/8/8/4r3/4K3 w - - 0 1");
    EXPECT_TRUE(IsPseudoLegal(line.position, MakeMoveCode(60, 52), White, false)); // Kxe2
    test::FenPosition away("4k3/4r3/8/8/8/8/4K3/8 w - - 0 1");
    EXPECT_FALSE(IsPseudoLegal(away.position, MakeMoveCode(52, 60), White, false)); // Ke1
}

TEST(MoveGen, PseudoLegalAgreesWithGenerationOverRandomPlay) {
    // Every generated legal move is accepted; random other codes are accepted only if legal.
    std::mt19937 random(3);
    test::FenPosition fp("r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -");
    Position p = fp.position;
    for (int ply = 0; ply < 4000; ++ply) {
        MoveList legal;
        legal.allPromotions = 1;
        GenerateLegalMoves(p, legal);
        if (legal.count == 0) {
            p = fp.position;
            continue;
        }
        std::set<Move> legalSet(legal.moves, legal.moves + legal.count);
        for (Move m : legalSet) ASSERT_TRUE(IsPseudoLegal(p, m, p.sideToMove, false));
        for (int k = 0; k < 50; ++k) {
            Move m = Move(random() & 0x3FFF);
            ASSERT_EQ(IsPseudoLegal(p, m, p.sideToMove, false), legalSet.count(m) == 1)
                << std::hex << m;
        }
        MakeMoveWithCheck(p, legal.moves[random() % legal.count]);
        if (p.ply > 200) p = fp.position;
    }
}

TEST(MoveGen, QuickMateTestAgreesWithGeneration) {
    std::mt19937 random(17);
    test::FenPosition fp(StartFen);
    Position p = fp.position;
    int checks = 0, mates = 0;
    for (int ply = 0; ply < 60000 && mates < 40; ++ply) {
        MoveList legal;
        GenerateLegalMoves(p, legal);
        if (p.checkers) {
            ++checks;
            Bitboard pinned = p.blockers[p.sideToMove] & p.colourBB[p.sideToMove];
            bool quick = QuickMateTest(p, p.checkers, pinned, p.sideToMove);
            ASSERT_EQ(quick, legal.count == 0);
            mates += quick;
        }
        if (legal.count == 0 || p.ply > 300) {
            p = fp.position;
            continue;
        }
        MakeMoveWithCheck(p, legal.moves[random() % legal.count]);
    }
    EXPECT_GT(checks, 1000);
}

} // namespace
} // namespace corvid
