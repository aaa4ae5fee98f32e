// ValidatePosition: king placement, material sanity, castling rooks and the en-passant field.
#include "chess/attacks.h"
#include "chess/position.h"

#include <algorithm>

namespace corvid {

namespace {

constexpr const char* TooManyKings = "Not a valid Position\n(Too many kings.)";
constexpr const char* MissingKing = "Not a valid Position\n(Missing king or kings.)";
constexpr const char* KingCapturable = "Not a valid Position\n(King can be captured.)";
constexpr const char* PawnOnEdgeRow = "Not a valid Position\n(Pawn on the first or last rank.)";
constexpr const char* TooManyPawns = "Not a valid Position\n(More than eight pawns a side.)";
constexpr const char* TooManyMen = "Not a valid Position\n(More than sixteen men a side.)";
constexpr const char* TooManyPromoted =
    "Not a valid Position\n(More promoted pieces than missing pawns.)";

// Pieces beyond the start set must have come from promoted pawns.
bool MaterialPossible(const Position& p, const char** error) {
    if (p.pieceBB[Pawn] & PromotionRows) return (*error = PawnOnEdgeRow), false;
    for (int c = 0; c < 2; ++c) {
        if (p.pawnCount[c] > 8) return (*error = TooManyPawns), false;
        if (PopCount(p.colourBB[c]) > 16) return (*error = TooManyMen), false;
        auto extra = [&](int type, int normal) {
            int n = PopCount(p.Pieces(c, type));
            return n > normal ? n - normal : 0;
        };
        int promoted = extra(Knight, 2) + extra(Bishop, 2) + extra(Rook, 2) + extra(Queen, 1);
        if (promoted > 8 - p.pawnCount[c]) return (*error = TooManyPromoted), false;
    }
    return true;
}

// Keep the en-passant square only where a pawn can just have double-stepped past it; anything
// else is dropped silently, so keys of real positions are unchanged.
void CheckEpSquare(Position& p) {
    int ep = p.epSquare;
    if (ep >= 64) {
        p.epSquare = NoSquare;
        return;
    }
    int us = p.sideToMove, them = us ^ 1;
    int expectedRow = us == White ? 2 : 5;
    int pawnSquare = ep - PawnPush[us];   // where the double-stepped enemy pawn stands
    int originSquare = ep + PawnPush[us]; // where it came from
    bool valid = RowOf(ep) == expectedRow && p.board[ep] == Empty &&
                 p.board[originSquare] == Empty && p.board[pawnSquare] == MakePiece(them, Pawn);
    if (!valid) p.epSquare = NoSquare;
}

void FindCastlingRooks(Position& p, CastleInfo& info, const int8_t requestedFile[4]) {
    for (int i = 0; i < 4; ++i) {
        info.rookSquare[i] = NoSquare;
        info.pathMask[i] = 0;
    }
    info.castleSquares = 0;
    for (int c = 0; c < 2; ++c) {
        int king = p.kingSquare[c];
        int row = RowOf(king), kingFile = FileOf(king);
        PieceCode rook = MakePiece(c, Rook);
        for (int side = 0; side < 2; ++side) { // 0 king side, 1 queen side
            int right = c * 2 + side;
            int found = NoSquare;
            if (requestedFile[right] >= 0) {
                int s = MakeSquare(requestedFile[right], row);
                bool onSide = side == 0 ? FileOf(s) > kingFile : FileOf(s) < kingFile;
                if (onSide && p.board[s] == rook) found = s;
            } else if (side == 0) {
                for (int f = kingFile + 1; f < 8; ++f)
                    if (p.board[MakeSquare(f, row)] == rook) found = MakeSquare(f, row);
            } else {
                for (int f = kingFile - 1; f >= 0; --f)
                    if (p.board[MakeSquare(f, row)] == rook) found = MakeSquare(f, row);
            }
            if (found == NoSquare) continue;
            info.rookSquare[right] = uint8_t(found);
            int kingTo = MakeSquare(side == 0 ? 6 : 2, row);
            int rookTo = MakeSquare(side == 0 ? 5 : 3, row);
            int low = std::min(std::min(king, found), std::min(kingTo, rookTo));
            int high = std::max(std::max(king, found), std::max(kingTo, rookTo));
            Bitboard path = 0;
            for (int s = low; s <= high; ++s) path |= SquareBB(s);
            info.pathMask[right] = path & ~SquareBB(king) & ~SquareBB(found);
        }
    }
    for (int i = 0; i < 4; ++i)
        if (info.rookSquare[i] != NoSquare) info.castleSquares |= SquareBB(info.rookSquare[i]);
}

void DropImpossibleRights(Position& p, const CastleInfo& info) {
    for (int i = 0; i < 4; ++i) {
        int rookSquare = info.rookSquare[i];
        if (rookSquare == NoSquare || p.board[rookSquare] != MakePiece(i / 2, Rook))
            p.castleRights &= uint8_t(~(1 << i));
    }
    if (RowOf(p.kingSquare[White]) != 7 || !p.Pieces(White, King))
        p.castleRights &= uint8_t(~(WhiteKingSide | WhiteQueenSide));
    if (RowOf(p.kingSquare[Black]) != 0 || !p.Pieces(Black, King))
        p.castleRights &= uint8_t(~(BlackKingSide | BlackQueenSide));
}

} // namespace

bool ValidatePosition(Position& p, const int8_t requestedRookFile[4], const char** error) {
    const char* ignored = nullptr;
    if (!error) error = &ignored;
    SetupDerived(p);
    // Work on a scratch record so that a refused position leaves the game's record untouched.
    CastleInfo scratch;
    FindCastlingRooks(p, scratch, requestedRookFile);
    DropImpossibleRights(p, scratch);

    int whiteKings = PopCount(p.Pieces(White, King)), blackKings = PopCount(p.Pieces(Black, King));
    if (whiteKings > 1 || blackKings > 1) return (*error = TooManyKings), false;
    if (whiteKings == 0 || blackKings == 0) return (*error = MissingKing), false;
    int us = p.sideToMove;
    // Kings count as attackers here: touching kings are just as impossible.
    if (AttackersOf(p, p.kingSquare[us ^ 1], us, true)) return (*error = KingCapturable), false;
    if (!MaterialPossible(p, error)) return false;

    CheckEpSquare(p);
    if (p.castleInfo) *p.castleInfo = scratch;
    SetupDerived(p);
    return true;
}

bool ValidatePosition(Position& p, const char** error) {
    constexpr int8_t Outermost[4] = {-1, -1, -1, -1};
    return ValidatePosition(p, Outermost, error);
}

} // namespace corvid
