#include "chess/colour_mirror.h"
#include "chess/fen.h"
#include "chess/perft.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

// The mirror is the same game with the colours exchanged: the same move tree (castling and en
// passant included), and mirroring twice gives the position back.
TEST(ColourMirror, KeepsTheMoveTreeAndReturnsOnTheSecondMirror) {
    const char* fens[] = {
        "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1",
        "rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBNR w KQkq f6 0 3",
        "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1",
        "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1",
        "1rk3r1/pppppppp/8/8/8/8/PPPPPPPP/1RK3R1 b KQkq - 0 1", // Chess960 rooks
    };
    for (const char* fen : fens) {
        test::FenPosition original(fen);
        char mirrored[128];
        ColourMirrorFen(mirrored, original.position);
        test::FenPosition mirror(mirrored);
        EXPECT_EQ(mirror.position.sideToMove, original.position.sideToMove ^ 1) << mirrored;
        EXPECT_EQ(test::PositionInvariantError(mirror.position), "") << mirrored;
        for (int depth = 1; depth <= 3; ++depth)
            EXPECT_EQ(Perft(mirror.position, depth), Perft(original.position, depth))
                << fen << " -> " << mirrored << " depth " << depth;
        char back[128];
        ColourMirrorFen(back, mirror.position);
        test::FenPosition twice(back);
        EXPECT_EQ(twice.position.key, original.position.key) << back;
        EXPECT_EQ(twice.position.epSquare, original.position.epSquare) << back;
    }
}

} // namespace
} // namespace corvid
