// The texts of scores, times and lines that the desktop and the WinBoard thinking output share.
#include "chess/move_notation.h"
#include "search/search_context.h"
#include "search/search_text.h"
#include "support/test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace corvid {
namespace {

int Sq(const char* name) { return ('8' - name[1]) * 8 + (name[0] - 'a'); }
Move M(const char* from, const char* to) { return MakeMoveCode(Sq(from), Sq(to)); }

TEST(SearchText, ScoresForEitherSideAndPointOfView) {
    struct Case {
        int score, side;
        bool whitePov;
        const char *verbose, *brief;
    } cases[] = {
        {9995, White, false, "White mates in 3", "M3"},
        {9995, Black, false, "Black mates in 3", "-M3"},
        {-9995, White, false, "Black mates in 3", "-M3"},
        {9799, White, false, "White mates in...", "M..."},
        {9802, Black, true, "Black mates in...", "-M..."},
        {-9810, White, false, "Black mates in 95", "-M95"},
        {9999, White, true, "White mates in 1", "M1"},
        {-30000, White, true, "invalid", "invalid"},
        {123, White, false, "1.23", "1.23"},
        {123, Black, false, "1.23", "1.23"},
        {123, Black, true, "-1.23", "-1.23"},
        {-5, White, true, "-0.05", "-0.05"},
        {-5, Black, true, "0.05", "0.05"},
        {-5, Black, false, "-0.05", "-0.05"},
        {0, Black, true, "0.00", "0.00"},
        {9796, White, false, "97.96", "97.96"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(formatScore(c.score, c.side, true, c.whitePov), c.verbose) << c.score;
        EXPECT_EQ(formatScore(c.score, c.side, false, c.whitePov), c.brief) << c.score;
    }
}

TEST(SearchText, Times) {
    EXPECT_EQ(formatTime(75.3), "01:15.3");
    EXPECT_EQ(formatTime(3725.5), "01:02:05.5");
    EXPECT_EQ(formatTime(0.05), "00:00.0");
    EXPECT_EQ(formatTime(0.000001), "00:00.0");
    EXPECT_EQ(formatTime(59.99), "00:59.9");
    EXPECT_EQ(formatTime(29940), "08:19:00.0");
    EXPECT_EQ(formatTime(-1), "00:00.0");
}

class LineText : public ::testing::Test {
protected:
    // After 1. e4 e5 2. Nf3: Black to move.
    test::FenPosition fen{"rnbqkbnr/pppp1ppp/8/4p3/4P3/5N2/PPPP1PPP/RNBQKB1R b KQkq - 1 2"};
    const Position& p = fen.position;
    std::vector<Move> line = {M("b8", "c6"), M("f1", "b5"), M("a7", "a6"), M("b5", "c6")};

    std::string text(int kind, bool marks = true, std::string_view ponder = "") {
        return formatLine(line.data(), int(line.size()), p, kind, ponder, marks);
    }
};

TEST_F(LineText, ExactAndFailedLines) {
    EXPECT_EQ(text(LineExact), "Nc6 Bb5 a6 Bxc6 ");
    EXPECT_EQ(text(LineFailHigh), "Nc6 [++] ");
    EXPECT_EQ(text(LineFailLow), "Nc6 [--] ");
    // Without the marks a failed line reads like any other.
    EXPECT_EQ(text(LineFailHigh, false), "Nc6 Bb5 a6 Bxc6 ");
    // The WinBoard ponder form: the move pondered on in braces first.
    EXPECT_EQ(text(LineExact, true, "Nf3 "), "{ Nf3 } Nc6 Bb5 a6 Bxc6 ");
}

TEST_F(LineText, EndsAtZeroMarkersAndUnplayableMoves) {
    line.insert(line.begin() + 2, NoMove);
    EXPECT_EQ(text(LineExact), "Nc6 Bb5 ");
    line[2] = TableLineEnd;
    EXPECT_EQ(text(LineExact), "Nc6 Bb5 <tt> ");
    line[2] = DrawLineEnd;
    EXPECT_EQ(text(LineExact), "Nc6 Bb5 <draw> ");
    line[2] = M("e1", "e8"); // not a move of this position: the line stops before it
    EXPECT_EQ(text(LineExact), "Nc6 Bb5 ");
}

TEST_F(LineText, LongLinesEndAtAWholeMove) {
    // Knights to and fro: a line far longer than any text may be.
    line.clear();
    for (int i = 0; i < 256 / 4; ++i)
        for (Move m : {M("g8", "f6"), M("f3", "g1"), M("f6", "g8"), M("g1", "f3")})
            line.push_back(m);
    std::string full = formatLine(line.data(), int(line.size()), p, LineExact, "", true, 1u << 20);
    EXPECT_EQ(full.size(), 256u * 4);
    std::string cut = text(LineExact);
    EXPECT_LE(cut.size(), MaxLineText);
    EXPECT_GT(cut.size(), MaxLineText - 5);
    EXPECT_EQ(cut, full.substr(0, cut.size()));
    EXPECT_EQ(cut.back(), ' ') << "no move is cut in half";
    std::string small = formatLine(line.data(), int(line.size()), p, LineExact, "", true, 10);
    EXPECT_EQ(small, "Nf6 Ng1 ");
}

} // namespace
} // namespace corvid
