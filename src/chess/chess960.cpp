// Chess960Setup: the usual numbering of the 960 start positions (518 = RNBQKBNR).
#include "chess/fen.h"

namespace corvid {

bool Chess960Setup(Position& p, int number) {
    if (number < 0 || number >= 960) return false;
    ClearPosition(p);
    int types[8];
    for (int& t : types) t = -1;
    types[2 * (number % 4) + 1] = Bishop;
    types[2 * ((number / 4) % 4)] = Bishop;
    auto placeOnEmpty = [&](int index, int type) {
        for (int file = 0; file < 8; ++file) {
            if (types[file] != -1) continue;
            if (index-- == 0) {
                types[file] = type;
                return;
            }
        }
    };
    placeOnEmpty((number / 16) % 6, Queen);
    constexpr int KnightPairs[10][2] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 1},
                                        {1, 2}, {1, 3}, {2, 2}, {2, 3}, {3, 3}};
    int k = number / 96;
    placeOnEmpty(KnightPairs[k][0], Knight);
    placeOnEmpty(KnightPairs[k][1], Knight);
    placeOnEmpty(0, Rook);
    placeOnEmpty(0, King);
    placeOnEmpty(0, Rook);
    for (int file = 0; file < 8; ++file) {
        p.board[MakeSquare(file, 7)] = MakePiece(White, types[file]);
        p.board[MakeSquare(file, 0)] = MakePiece(Black, types[file]);
        p.board[MakeSquare(file, 6)] = MakePiece(White, Pawn);
        p.board[MakeSquare(file, 1)] = MakePiece(Black, Pawn);
    }
    p.castleRights = 15; // a new Chess960 game starts with every right
    return ValidatePosition(p);
}

} // namespace corvid
