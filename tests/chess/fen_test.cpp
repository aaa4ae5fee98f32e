// FEN reading, validation messages, writing, hash keys and the Chess960 numbering.
#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/zobrist.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

namespace corvid {
namespace {

struct Refusal {
    const char* fen;
    const char* message;
};

const Refusal Refusals[] = {
    {"8/8/8/8/8/8/8/8 w - -", "Not a valid Position\n(Missing king or kings.)"},
    {"4k3/8/8/8/8/8/8/4K3", "Not a valid Position, not enough squares"},
    {"4k3/8/8/8/8/8/8 w - -", "Not a valid Position, not enough squares"},
    {"K7/8/8/8/8/8/8/4K3 w - -", "Not a valid Position\n(Too many kings.)"},
    {"4k3/8/8/8/8/8/8/4K2K w - -", "Not a valid Position\n(Too many kings.)"},
    {"4k3/8/8/8/8/8/8/4R1K1 w - -", "Not a valid Position\n(King can be captured.)"},
    // Touching kings: the side to move's king could take the other.
    {"8/8/8/3kK3/8/8/8/8 w - -", "Not a valid Position\n(King can be captured.)"},
    {"4k3/8/8/8/8/8/8/P3K3 w - -", "Not a valid Position\n(Pawn on the first or last rank.)"},
    {"P3k3/8/8/8/8/8/8/4K3 w - -", "Not a valid Position\n(Pawn on the first or last rank.)"},
    {"4k3/8/8/8/8/8/PPPPPPPP/P3K3 w - -",
     "Not a valid Position\n(Pawn on the first or last rank.)"},
    {"4k3/8/8/8/8/P7/PPPPPPPP/4K3 w - -", "Not a valid Position\n(More than eight pawns a side.)"},
    {"4k3/8/8/NNNNNNNN/NNNNNNNN/8/8/4K3 w - - 0 1",
     "Not a valid Position\n(More than sixteen men a side.)"},
    {"qqqqkqqq/qqqqqqqq/8/8/8/8/QQQQQQQQ/QQQQKQQQ w - - 0 1",
     "Not a valid Position\n(More promoted pieces than missing pawns.)"},
    {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKQNR w KQkq -",
     "Not a valid Position\n(More promoted pieces than missing pawns.)"},
};

TEST(Fen, RefusedTextsGiveTheirMessageAndLeaveEverythingUntouched) {
    test::FenPosition game("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    for (const Refusal& r : Refusals) {
        Position before = game.position;
        CastleInfo infoBefore = game.castleInfo;
        const char* error = nullptr;
        EXPECT_FALSE(SetPositionFromFen(game.position, r.fen, &game.castleInfo, &error)) << r.fen;
        ASSERT_NE(error, nullptr) << r.fen;
        EXPECT_STREQ(error, r.message) << r.fen;
        EXPECT_EQ(std::memcmp(&before, &game.position, sizeof before), 0) << r.fen;
        EXPECT_EQ(std::memcmp(&infoBefore, &game.castleInfo, sizeof infoBefore), 0) << r.fen;
    }
}

TEST(Fen, StartPositionFields) {
    test::FenPosition fp(StartFen);
    const Position& p = fp.position;
    EXPECT_EQ(PopCount(p.colourBB[White]), 16);
    EXPECT_EQ(PopCount(p.colourBB[Black]), 16);
    EXPECT_EQ(p.material[White], 4148);
    EXPECT_EQ(p.material[Black], 4148);
    EXPECT_EQ(p.castleRights, 15);
    const uint8_t rooks[4] = {63, 56, 7, 0};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(fp.castleInfo.rookSquare[i], rooks[i]);
    auto squares = [](std::initializer_list<int> list) {
        Bitboard b = 0;
        for (int s : list) b |= SquareBB(s);
        return b;
    };
    EXPECT_EQ(fp.castleInfo.pathMask[0], squares({61, 62}));
    EXPECT_EQ(fp.castleInfo.pathMask[1], squares({57, 58, 59}));
    EXPECT_EQ(fp.castleInfo.pathMask[2], squares({5, 6}));
    EXPECT_EQ(fp.castleInfo.pathMask[3], squares({1, 2, 3}));
}

TEST(Fen, HashKeysAreDrawnInTheFixedOrder) {
    test::FenPosition fp(StartFen);
    EXPECT_EQ(ZobristPiece[0][0], 0xA23F7E2075FC0663ULL);
    EXPECT_EQ(ZobristSide, 0x9DC19819A21C11A2ULL);
    EXPECT_EQ(fp.position.key, 0x0679C3DF28279920ULL);
    EXPECT_EQ(fp.position.pawnKey, 0x1B3DD13CF20BB499ULL);
    MakeMoveWithCheck(fp.position, MakeMoveCode(52, 36));
    EXPECT_EQ(fp.position.key, 0x2049B795131ADA5DULL);
}

TEST(Fen, ClockAndMoveNumberFieldsAreNotRead) {
    char out[100];
    test::FenPosition white("r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 12 40");
    PositionToFen(out, white.position);
    EXPECT_STREQ(out, "r3k2r/8/8/8/8/8/8/R3K2R w KQkq - 0 1");
    test::FenPosition black("4k3/8/8/8/8/8/8/4K3 b - - 7 31");
    EXPECT_EQ(black.position.ply, 1);
    PositionToFen(out, black.position);
    EXPECT_STREQ(out, "4k3/8/8/8/8/8/8/4K3 b - - 0 1");
}

TEST(Fen, CastlingLettersWithoutTheirRookAreDropped) {
    test::FenPosition fp("4k3/8/8/8/8/8/8/4K3 w KQkq -");
    EXPECT_EQ(fp.position.castleRights, 0);
}

TEST(Fen, FileLettersSelectTheRookOnThatFile) {
    test::FenPosition h("4k3/8/8/8/8/8/8/4K2R w H -");
    EXPECT_EQ(h.position.castleRights, WhiteKingSide);
    EXPECT_EQ(h.castleInfo.rookSquare[0], 63);

    // King on g1, rooks on b1 and h1: 'B' is the queen side; 'Q' keeps the outermost rook.
    test::FenPosition b("4k3/8/8/8/8/8/8/1R4KR w B -");
    EXPECT_EQ(b.position.castleRights, WhiteQueenSide);
    EXPECT_EQ(b.castleInfo.rookSquare[1], 57);

    // Two rooks on the queen side: 'C' names the inner rook, 'Q' the outer one.
    test::FenPosition inner("4k3/8/8/8/8/8/8/1RR3K1 w C -");
    EXPECT_EQ(inner.castleInfo.rookSquare[1], 58);
    test::FenPosition outer("4k3/8/8/8/8/8/8/1RR3K1 w Q -");
    EXPECT_EQ(outer.castleInfo.rookSquare[1], 57);
}

TEST(Fen, EnPassantFieldIsKeptOnlyWhereACaptureWasJustMadePossible) {
    struct Case {
        const char* fen;
        int epSquare;
    };
    const Case cases[] = {
        {"rnbqkbnr/pppp1ppp/8/3Pp3/8/8/PPP1PPPP/RNBQKBNR w KQkq e6", 20},
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3", 44},       // no capturer: kept
        {"rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e3", NoSquare}, // wrong side
        {"rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR b KQkq e3", NoSquare},   // no pawn
        {"rnbqkbnr/pppppppp/8/8/4P3/4N3/PPPP1PPP/RNBQKB1R b KQkq e3", NoSquare}, // occupied
        {"rnbqkbnr/pppp1ppp/8/4p3/4P3/8/PPPP1PPP/RNBQKBNR w KQkq e5", NoSquare}, // wrong rank
        {"4k3/8/8/8/8/8/8/4K3 w - z9", NoSquare},
    };
    for (const Case& c : cases) {
        test::FenPosition fp(c.fen);
        EXPECT_EQ(fp.position.epSquare, c.epSquare) << c.fen;
        EXPECT_EQ(fp.position.key, ComputeKey(fp.position)) << c.fen;
    }
}

TEST(Fen, WritingThenReadingGivesTheSamePosition) {
    const char* fens[] = {
        "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1",
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "rnbqkbnr/pppp1ppp/8/3Pp3/8/8/PPP1PPPP/RNBQKBNR w KQkq e6 0 1",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "4k3/8/8/8/8/8/8/4K3 b - - 0 1",
        "r3k3/8/8/8/8/8/8/4K2R w Kq - 0 1",
    };
    for (const char* fen : fens) {
        test::FenPosition fp(fen);
        char out[100];
        int length = PositionToFen(out, fp.position);
        EXPECT_EQ(length, int(std::strlen(out)));
        EXPECT_STREQ(out, fen);
        test::FenPosition again(out);
        EXPECT_EQ(again.position.key, fp.position.key) << fen;
    }
}

TEST(Fen, ToleratesExtraSpacesSemicolonsAndStrayCharacters) {
    test::FenPosition spaced("rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR  w  KQkq - 0  1");
    EXPECT_EQ(spaced.position.castleRights, 15);
    test::FenPosition epd("4k3/8/8/8/8/8/8/4K3 b - -; bm Kd2; id \"x\";");
    EXPECT_EQ(epd.position.sideToMove, Black);
}

TEST(Chess960, NumberingOfTheStartPositions) {
    test::EnsureTables();
    CastleInfo info;
    Position p;
    p.castleInfo = &info;
    p.castleRights = 0;
    ASSERT_TRUE(Chess960Setup(p, 518));
    char out[100];
    PositionToFen(out, p);
    EXPECT_STREQ(out, "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1");
    ASSERT_TRUE(Chess960Setup(p, 0));
    PositionToFen(out, p);
    EXPECT_STREQ(out, "bbqnnrkr/pppppppp/8/8/8/8/PPPPPPPP/BBQNNRKR w KQkq - 0 1");
    ASSERT_TRUE(Chess960Setup(p, 959));
    PositionToFen(out, p);
    EXPECT_STREQ(out, "rkrnnqbb/pppppppp/8/8/8/8/PPPPPPPP/RKRNNQBB w KQkq - 0 1");
    // Every number gives a distinct, valid arrangement with bishops on opposite colours.
    std::set<std::string> seen;
    for (int n = 0; n < 960; ++n) {
        ASSERT_TRUE(Chess960Setup(p, n)) << n;
        Bitboard bishops = p.Pieces(White, Bishop);
        EXPECT_TRUE((bishops & LightSquares) && (bishops & DarkSquares)) << n;
        EXPECT_EQ(p.castleRights, 15) << n;
        PositionToFen(out, p);
        seen.insert(out);
    }
    EXPECT_EQ(seen.size(), 960u);
    EXPECT_FALSE(Chess960Setup(p, 960));
}

} // namespace
} // namespace corvid
