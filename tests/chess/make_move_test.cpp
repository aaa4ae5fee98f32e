// Make-move: incremental updates against from-scratch values over random play-outs, and the
// individual rules (en passant, castling, rights, promotions, counters).
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/piece_square_table.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace corvid {
namespace {

const char* const PlayoutStarts[] = {
    "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -",
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
    "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -",
    "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq -",
    "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ -",
    "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1",
    "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf - 2 9",
    "2nnrbkr/p1qppppp/8/1ppb4/6PP/3PP3/PPP2P2/BQNNRBKR w HEhe - 1 9",
    "8/7p/8/8/8/8/8/k1KR4 w D - 0 1",
    "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1",
};

class MakeMoveInvariants : public ::testing::Test {
protected:
    // Random piece-square values, so the incremental sums are really exercised.
    void SetUp() override {
        test::EnsureTables();
        std::memcpy(saved_, pieceSquareTable, sizeof saved_);
        std::mt19937 random(7);
        for (int piece = 0; piece < 16; ++piece)
            for (int s = 0; s < 64; ++s) {
                bool real = piece != 6 && piece != 7 && piece != 14 && piece != 15;
                pieceSquareTable[piece][s] =
                    real ? ScorePair{int(random() % 201) - 100, int(random() % 201) - 100}
                         : ScorePair{};
            }
    }
    void TearDown() override { std::memcpy(pieceSquareTable, saved_, sizeof saved_); }
    ScorePair saved_[16][64];
};

TEST_F(MakeMoveInvariants, EveryDerivedFieldMatchesAfterRandomPlayouts) {
    std::mt19937 random(2024);
    int movesPlayed = 0;
    for (const char* fen : PlayoutStarts) {
        for (int game = 0; game < 40; ++game) {
            test::FenPosition fp(fen);
            Position& p = fp.position;
            for (int ply = 0; ply < 120; ++ply) {
                MoveList list;
                list.allPromotions = 1;
                GenerateLegalMoves(p, list);
                if (list.count == 0) break;
                Move move = list.moves[random() % list.count];
                MakeMoveWithCheck(p, move);
                ++movesPlayed;
                std::string error = test::PositionInvariantError(p);
                ASSERT_EQ(error, "") << fen << " game " << game << " ply " << ply;
            }
        }
    }
    EXPECT_GT(movesPlayed, 20000);
}

TEST(MakeMove, DoubleStepSetsAndTheNextMoveClearsTheEnPassantSquare) {
    test::FenPosition fp(StartFen);
    Position& p = fp.position;
    uint64_t before = p.key;
    MakeMoveWithCheck(p, MakeMoveCode(52, 36)); // e2e4
    EXPECT_EQ(p.epSquare, 44);
    EXPECT_EQ(p.key,
              before ^ ZobristPiece[52][0] ^ ZobristPiece[36][0] ^ ZobristEp[44] ^ ZobristSide);
    MakeMoveWithCheck(p, MakeMoveCode(6, 21)); // Ng8f6
    EXPECT_EQ(p.epSquare, NoSquare);
    EXPECT_EQ(p.key, ComputeKey(p));
}

TEST(MakeMove, CastlingMovesKingAndRookAndClearsTheRights) {
    test::FenPosition fp("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    Position& p = fp.position;
    UndoInfo undo;
    MakeMoveWithCheck(p, MakeMoveCode(60, 63), undo); // e1h1
    EXPECT_EQ(undo.moveKind, CastleKingSide);
    EXPECT_EQ(p.board[62], MakePiece(White, King));
    EXPECT_EQ(p.board[61], MakePiece(White, Rook));
    EXPECT_EQ(p.board[60], Empty);
    EXPECT_EQ(p.board[63], Empty);
    EXPECT_EQ(p.castleRights, BlackKingSide | BlackQueenSide);
    EXPECT_EQ(p.key, ComputeKey(p));
}

TEST(MakeMove, RightsChangesAlwaysReachTheKey) {
    // A king move without touching a rook square, and a capture of the rook on h8.
    test::FenPosition kingMove("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    MakeMoveWithCheck(kingMove.position, MakeMoveCode(60, 52)); // Ke1-e2
    EXPECT_EQ(kingMove.position.castleRights, BlackKingSide | BlackQueenSide);
    EXPECT_EQ(kingMove.position.key, ComputeKey(kingMove.position));

    test::FenPosition capture("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    MakeMoveWithCheck(capture.position, MakeMoveCode(63, 7)); // Rh1xh8
    EXPECT_EQ(capture.position.castleRights, WhiteQueenSide | BlackQueenSide);
    EXPECT_EQ(capture.position.key, ComputeKey(capture.position));
}

TEST(MakeMove, CapturePromotionToKnightUpdatesEveryCount) {
    test::FenPosition fp("r3k3/1P6/8/8/8/8/8/4K3 w - - 0 1");
    Position& p = fp.position;
    UndoInfo undo;
    MakeMoveWithCheck(p, MakeMoveCode(9, 0, PromotionCodeOf(Knight)), undo); // b7xa8=N
    EXPECT_EQ(undo.moveKind, PromotionMove);
    EXPECT_EQ(undo.captured, MakePiece(Black, Rook));
    EXPECT_EQ(p.board[0], MakePiece(White, Knight));
    EXPECT_EQ(p.material[White], 320);
    EXPECT_EQ(p.material[Black], 0);
    EXPECT_EQ(p.pawnCount[White], 0);
    EXPECT_EQ(p.pieceCount[White], 1);
    EXPECT_EQ(p.minorCount[White], 1);
    EXPECT_EQ(p.pieceCount[Black], 0);
    EXPECT_EQ(test::PositionInvariantError(p), "");
}

TEST(MakeMove, EnPassantRemovesTheCapturedPawn) {
    test::FenPosition fp("4k3/8/8/3pP3/8/8/8/4K3 w - d6 0 1");
    Position& p = fp.position;
    UndoInfo undo;
    MakeMoveWithCheck(p, MakeMoveCode(28, 19), undo); // e5xd6
    EXPECT_EQ(undo.moveKind, EnPassantMove);
    EXPECT_EQ(p.board[27], Empty);
    EXPECT_EQ(p.pawnCount[Black], 0);
    EXPECT_EQ(test::PositionInvariantError(p), "");
}

TEST(MakeMove, FiftyMoveClockCountsFromTheLastPawnMoveOrCapture) {
    test::FenPosition fp(StartFen);
    Position& p = fp.position;
    const Move moves[] = {MakeMoveCode(62, 45), MakeMoveCode(6, 21), MakeMoveCode(45, 62),
                          MakeMoveCode(21, 6)}; // knights out and back
    for (Move m : moves) MakeMoveWithCheck(p, m);
    char fen[100];
    PositionToFen(fen, p);
    EXPECT_STREQ(fen, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 3 3");
    MakeMoveWithCheck(p, MakeMoveCode(52, 36));
    MakeMoveWithCheck(p, MakeMoveCode(1, 18));
    PositionToFen(fen, p);
    EXPECT_STREQ(fen, "r1bqkbnr/pppppppp/2n5/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq - 1 4");
}

} // namespace
} // namespace corvid
