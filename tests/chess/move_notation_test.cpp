#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "chess/move_text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace corvid {
namespace {

Move FindMove(const Position& p, const char* coordinate, bool chess960 = false) {
    MoveList list;
    list.allPromotions = 1;
    GenerateLegalMoves(p, list);
    for (int i = 0; i < list.count; ++i) {
        char text[16];
        FormatCoordinate(text, list.moves[i], p, chess960);
        if (std::string(text) == coordinate) return list.moves[i];
    }
    return NoMove;
}

std::string Format(const char* fen, const char* coordinate, int form, bool chess960 = false) {
    test::FenPosition fp(fen);
    Move move = FindMove(fp.position, coordinate, chess960);
    EXPECT_NE(move, NoMove) << fen << " " << coordinate;
    char text[MoveTextBufferSize];
    uciChess960 = chess960;
    FormatMove(text, move, fp.position, form);
    uciChess960 = false;
    return text;
}

struct FormatCase {
    const char* fen;
    const char* coordinate;
    const char* longForm;
    const char* san;
};

std::ostream& operator<<(std::ostream& out, const FormatCase& c) {
    return out << c.fen << " " << c.coordinate;
}

class FormatForms : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatForms, LongAndSan) {
    const FormatCase& c = GetParam();
    EXPECT_EQ(Format(c.fen, c.coordinate, LongForm), c.longForm) << c;
    EXPECT_EQ(Format(c.fen, c.coordinate, SanForm), c.san) << c;
}

const FormatCase FormatCases[] = {
    {StartFen, "e2e4", "e2-e4  ", "e4 "},
    {StartFen, "g1f3", "Ng1-f3 ", "Nf3 "},
    // Knights on b1 and f3 both reach d2: the file tells them apart.
    {"4k3/8/8/8/8/5N2/8/1N2K3 w - -", "b1d2", "Nb1-d2 ", "Nbd2 "},
    // Knights on d1 and d3 both reach f2: same file, so the rank.
    {"4k3/8/8/8/8/3N4/8/3NK3 w - -", "d1f2", "Nd1-f2 ", "N1f2 "},
    // Three queens on one square: file and rank.
    {"4k3/8/8/8/8/Q7/8/Q1Q1K3 w - -", "a1b2", "Qa1-b2 ", "Qa1b2 "},
    // A pawn capture carries its file; so does en passant.
    {"4k3/8/8/3p4/4P3/8/8/4K3 w - -", "e4d5", "e4xd5  ", "exd5 "},
    {"4k3/8/8/3pP3/8/8/8/4K3 w - d6", "e5d6", "e5xd6  ", "exd6 "},
    // Under-promotion to a knight with check.
    {"8/4P1k1/8/8/8/8/8/4K3 w - -", "e7e8n", "e7-e8=N+", "e8=N+ "},
    {"3r3k/4P3/8/8/8/8/8/4K3 w - -", "e7d8q", "e7xd8=Q+", "exd8=Q+ "},
    // Castling, check and mate marks.
    {"r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1g1", "O-O    ", "O-O "},
    {"r3k2r/8/8/8/8/8/8/R3K2R b KQkq -", "e8c8", "O-O-O  ", "O-O-O "},
    {"5k2/8/8/8/8/8/8/4K2R w K -", "e1g1", "O-O+   ", "O-O+ "},
    {"r1bqkbnr/pppp1ppp/2n5/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq -", "h5f7", "Qh5xf7#", "Qxf7# "},
};

INSTANTIATE_TEST_SUITE_P(Examples, FormatForms, ::testing::ValuesIn(FormatCases));

TEST(FormatMove, SpecialTextsAndCoordinateCastling) {
    test::FenPosition fp("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    char text[MoveTextBufferSize];
    FormatMove(text, NoMove, fp.position, LongForm);
    EXPECT_STREQ(text, "Null");
    FormatMove(text, Move(MarkerBit | TableMarker), fp.position, SanForm);
    EXPECT_STREQ(text, "<tt>");
    FormatMove(text, Move(MarkerBit | DrawMarker), fp.position, LongForm);
    EXPECT_STREQ(text, "<draw>");
    // A move that cannot be played here.
    FormatMove(text, MakeMoveCode(MakeSquare(4, 0), MakeSquare(4, 1)), fp.position, SanForm);
    EXPECT_STREQ(text, "xx");

    EXPECT_EQ(Format("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1g1", CoordinateForm), "e1g1");
    EXPECT_EQ(Format("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -", "e1h1", CoordinateForm, true), "e1h1");
    EXPECT_EQ(Format("8/4P1k1/8/8/8/8/8/4K3 w - -", "e7e8n", CoordinateForm), "e7e8n");
}

// Plays text on a copy of the position; returns the key after it, or 0 when it did not play.
uint64_t KeyAfterText(const Position& p, const std::string& text) {
    static GameRecord scratch;
    Position copy = p;
    if (!ParseAndPlayMove(text, copy, false, scratch)) return 0;
    EXPECT_EQ(copy.ply, p.ply + 1);
    return copy.key;
}

TEST(ParseMoveText, ReadsEveryForm) {
    test::FenPosition fp(StartFen);
    const Position& p = fp.position;
    for (const char* text : {"e4", "e2e4", "e2-e4", "Pe4", "pe2e4", "e4+", "e4!?"})
        EXPECT_EQ(KeyAfterText(p, text), KeyAfterText(p, "e2e4")) << text;
    for (const char* text : {"Nf3", "g1f3", "Ng1-f3", "Ngf3", "N1f3", "Ng1f3"})
        EXPECT_EQ(KeyAfterText(p, text), KeyAfterText(p, "g1f3")) << text;
    EXPECT_NE(KeyAfterText(p, "e2e4"), 0u);

    test::FenPosition castling("r3k2r/8/8/8/8/8/8/R3K2R w KQkq -");
    uint64_t kingSide = KeyAfterText(castling.position, "e1g1");
    ASSERT_NE(kingSide, 0u);
    for (const char* text : {"O-O", "0-0", "o-o", "e1h1", "O-O+"})
        EXPECT_EQ(KeyAfterText(castling.position, text), kingSide) << text;
    uint64_t queenSide = KeyAfterText(castling.position, "e1c1");
    for (const char* text : {"O-O-O", "0-0-0", "o-o-o", "e1a1"})
        EXPECT_EQ(KeyAfterText(castling.position, text), queenSide) << text;

    test::FenPosition promotion("8/4P1k1/8/8/8/8/8/4K3 w - -");
    uint64_t knight = KeyAfterText(promotion.position, "e7e8n");
    EXPECT_NE(knight, KeyAfterText(promotion.position, "e7e8q"));
    for (const char* text : {"e8=N", "e8N", "e7-e8=N+", "e8n"})
        EXPECT_EQ(KeyAfterText(promotion.position, text), knight) << text;
    // No promotion letter (or a king or pawn letter) means a queen.
    for (const char* text : {"e8", "e8=K", "e8=P", "e7e8"})
        EXPECT_EQ(KeyAfterText(promotion.position, text), KeyAfterText(promotion.position, "e8=Q"))
            << text;
}

TEST(ParseMoveText, RefusesTextThatNamesNoMove) {
    test::FenPosition fp(StartFen);
    for (const char* text : {"", "e", "N", "x", "Nb", "1-0", "0-1", "1/2-1/2", "*", "e5", "Ke2",
                             "O-O", "e2e2", "n3", "q", "i9", "--x", "Ne"})
        EXPECT_EQ(KeyAfterText(fp.position, text), 0u) << "'" << text << "'";
    // The parser stops at the end of the text, never reading past it.
    MoveDescription d;
    EXPECT_FALSE(ParseMoveText(std::string_view("e4", 1), fp.position, d));
    EXPECT_TRUE(ParseMoveText(std::string_view("e4", 2), fp.position, d));
    EXPECT_FALSE(ParseMoveText(std::string_view("e\0"
                                                "4",
                                                3),
                               fp.position, d));
}

TEST(ParseMoveText, CastlingWithoutTheRightFails) {
    // The king has walked to g1 with the rook still on h1: "O-O" is not a king step to h1.
    test::FenPosition fp("4k3/8/8/8/8/8/8/4K2R w K -");
    GameRecord record;
    Position& p = fp.position;
    for (const char* text :
         {"Ke1-f1", "Ke8-d8", "Kf1-g1", "Kd8-e8", "Rh1-h2", "Ke8-d8", "Rh2-h1", "Kd8-e8"})
        ASSERT_TRUE(ParseAndPlayMove(text, p, false, record)) << text;
    EXPECT_EQ(p.castleRights, 0);
    ASSERT_EQ(p.castleInfo->rookSquare[0], MakeSquare(7, 7));
    for (const char* text : {"O-O", "0-0", "o-o", "O-O-O"})
        EXPECT_EQ(KeyAfterText(p, text), 0u) << text;
    EXPECT_NE(KeyAfterText(p, "Kh2"), 0u);

    // No castling rook ever: rookSquare is "none".
    test::FenPosition bare("4k3/8/8/8/8/8/8/4K3 w - -");
    EXPECT_EQ(KeyAfterText(bare.position, "O-O"), 0u);
    EXPECT_EQ(KeyAfterText(bare.position, "O-O-O"), 0u);
}

TEST(ParseMoveText, Chess960KingNextToItsDestination) {
    // King f1, rook h1: "f1g1" is the king step, castling is "f1h1" or O-O.
    test::FenPosition fp("4k3/8/8/8/8/8/8/5K1R w K -");
    const Position& p = fp.position;
    uint64_t step = KeyAfterText(p, "f1g1");
    uint64_t castle = KeyAfterText(p, "f1h1");
    ASSERT_NE(step, 0u);
    ASSERT_NE(castle, 0u);
    EXPECT_NE(step, castle);
    EXPECT_EQ(KeyAfterText(p, "O-O"), castle);
}

std::vector<std::string> SuiteFens() {
    std::vector<std::string> fens = {
        StartFen, "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -",
        "bqnb1rkr/pp3ppp/3ppn2/2p5/5P2/P2P4/NPP1P1PP/BQ1BNRKR w HFhf -",
        "2r1kr2/8/8/8/8/8/8/1R2K1R1 w GBfc -"};
    for (const char* file : {"epd/perftsuite.epd", "epd/cw_perft.epd"}) {
        std::string path = test::TestDataPath(file);
        std::ifstream in(path);
        EXPECT_TRUE(in) << path;
        for (std::string line; std::getline(in, line);)
            if (!line.empty()) fens.push_back(line.substr(0, line.find(';')));
    }
    return fens;
}

// Every legal move of every position of the perft suites, in every form, parses back to itself.
TEST(NotationRoundTrip, EveryLegalMoveInEveryForm) {
    int positions = 0, checked = 0;
    for (const std::string& fen : SuiteFens()) {
        test::FenPosition fp(fen.c_str());
        const Position& p = fp.position;
        ++positions;
        MoveList list;
        list.allPromotions = 1;
        GenerateLegalMoves(p, list);
        for (int i = 0; i < list.count; ++i) {
            Move move = list.moves[i];
            Position expected = p;
            MakeMoveWithCheck(expected, move);
            for (int variant = 0; variant < 4; ++variant) {
                int form = variant < 2 ? variant : CoordinateForm;
                bool chess960 = variant == 3;
                if (variant == 2 && IsCastling(p, move)) {
                    // Without the Chess960 form a king beside its destination reads as a step.
                    int kingTo = CastlingKingTarget(MoveFrom(move), MoveTo(move));
                    int distance = FileOf(MoveFrom(move)) - FileOf(kingTo);
                    if (distance >= -1 && distance <= 1) continue;
                }
                char text[MoveTextBufferSize];
                uciChess960 = chess960;
                FormatMove(text, move, p, form);
                uciChess960 = false;
                EXPECT_EQ(KeyAfterText(p, text), expected.key)
                    << fen << " move " << text << " form " << form << " chess960 " << chess960;
                ++checked;
            }
        }
    }
    EXPECT_GT(positions, 290);
    EXPECT_GT(checked, 100);
    RecordProperty("texts", checked);
}

} // namespace
} // namespace corvid
