#include "gui/logic/game_status.h"
#include "gui/logic/move_list.h"

#include <gtest/gtest.h>

namespace corvid {

namespace {
GameSnapshot game(int startPly, std::vector<std::string> moves, int ply) {
    GameSnapshot g;
    g.startPly = startPly;
    g.moveTexts.assign(size_t(startPly), "");
    for (auto& m : moves) g.moveTexts.push_back(m);
    g.moveCount = int(g.moveTexts.size());
    g.ply = ply;
    return g;
}
} // namespace

TEST(MoveList, EntriesPerMovePair) {
    GameSnapshot g = game(0, {"e2-e4", "e7-e5", "Ng1-f3"}, 3);
    std::vector<std::string> expected = {"1. e2-e4  |  e7-e5", "2. Ng1-f3 "};
    EXPECT_EQ(moveListEntries(g), expected);
    EXPECT_EQ(moveListSelection(g), 1);
    g.ply = 2;
    EXPECT_EQ(moveListSelection(g), 0);
    g.ply = 0;
    EXPECT_EQ(moveListSelection(g), 0);
    EXPECT_EQ(moveListEntries(game(0, {}, 0)).size(), 0u);
    EXPECT_EQ(moveListSelection(game(0, {}, 0)), -1);
}

TEST(MoveList, GamesFromASetUpPosition) {
    // Black to move at move 11.
    GameSnapshot g = game(21, {"Nb8-c6", "Ng1-f3"}, 23);
    std::vector<std::string> expected = {"11. ...  |  Nb8-c6", "12. Ng1-f3 "};
    EXPECT_EQ(moveListEntries(g), expected);
    EXPECT_EQ(moveListSelection(g), 1);
    EXPECT_EQ(plyOfEntry(g, 0), 22);
    EXPECT_EQ(plyOfEntry(g, 1), 23); // limited to the record
}

TEST(MoveList, ChosenEntriesStayInsideTheRecord) {
    GameSnapshot g = game(0, {"e2-e4", "e7-e5", "Ng1-f3"}, 3);
    EXPECT_EQ(plyOfEntry(g, 0), 2);
    EXPECT_EQ(plyOfEntry(g, 1), 3);
    EXPECT_EQ(plyOfEntry(g, 400), 3);
    EXPECT_EQ(plyOfEntry(g, -7), 2);
    EXPECT_EQ(plyOfEntry(game(0, {}, 0), 3), 0);
}

TEST(GameStatus, MoveNumberAndMaterial) {
    GameSnapshot g;
    g.board[0] = MakePiece(White, Queen);
    g.board[1] = MakePiece(White, Pawn);
    g.board[2] = MakePiece(White, Pawn);
    g.board[3] = MakePiece(Black, Pawn);
    g.board[4] = MakePiece(Black, Rook);
    g.board[5] = MakePiece(Black, King);
    g.ply = 9;
    g.inCheck = true;
    EXPECT_EQ(moveNumberText(g), "Move # 5  CHECK!");
    EXPECT_EQ(materialSurplus(g, White), "1p, 1Q, ");
    EXPECT_EQ(materialSurplus(g, Black), "1R, ");
}

} // namespace corvid
