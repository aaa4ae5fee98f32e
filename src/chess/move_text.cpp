#include "chess/move_text.h"

namespace corvid {

namespace {

bool IsCastleLetter(char c) { return c == 'O' || c == 'o' || c == '0'; }
bool IsFileLetter(char c) { return c >= 'a' && c <= 'h'; }
bool IsRankDigit(char c) { return c >= '1' && c <= '8'; }
bool IsSeparator(char c) { return c == 'x' || c == '-'; }

int PieceTypeOfLetter(char c) {
    switch (c) {
    case 'P':
    case 'p':
        return Pawn;
    case 'N':
        return Knight;
    case 'B':
        return Bishop;
    case 'R':
        return Rook;
    case 'Q':
        return Queen;
    case 'K':
        return King;
    default:
        return -1;
    }
}

int PromotionOfLetter(char c) {
    switch (c) {
    case 'N':
    case 'n':
        return Knight;
    case 'B':
    case 'b':
        return Bishop;
    case 'R':
    case 'r':
        return Rook;
    default:
        return Queen; // also 'K', 'P' and no letter at all
    }
}

// Castling text: "O-O" (king side) or "O-O-O", each O also 0 or o. Fills out and returns
// true when the side to move holds that right; *isCastling tells whether the text was one.
bool ParseCastling(std::string_view text, const Position& p, MoveDescription& out,
                   bool* isCastling) {
    *isCastling =
        text.size() >= 3 && IsCastleLetter(text[0]) && text[1] == '-' && IsCastleLetter(text[2]);
    if (!*isCastling) return false;
    bool queenSide = text.size() >= 5 && text[3] == '-' && IsCastleLetter(text[4]);
    int right = 2 * p.sideToMove + (queenSide ? 1 : 0);
    int rookSquare = p.castleInfo ? p.castleInfo->rookSquare[right] : NoSquare;
    // Without the right there is no castling to name: never a king step toward the rook.
    if (!(p.castleRights & (1 << right)) || rookSquare >= 64) return false;
    int king = p.kingSquare[p.sideToMove];
    out.fromFile = FileOf(king);
    out.fromRow = RowOf(king);
    out.toFile = FileOf(rookSquare);
    out.toRow = RowOf(king);
    out.pieceType = 6;
    out.promotion = Queen;
    return true;
}

} // namespace

bool ParseMoveText(std::string_view text, const Position& p, MoveDescription& out) {
    if (size_t nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    out = MoveDescription{};
    bool isCastling = false;
    if (ParseCastling(text, p, out, &isCastling)) return true;
    if (isCastling) return false;

    size_t i = 0;
    auto at = [&](size_t k) { return k < text.size() ? text[k] : '\0'; };
    if (int type = PieceTypeOfLetter(at(i)); type >= 0) {
        out.pieceType = type;
        ++i;
    }
    if (IsSeparator(at(i))) ++i;
    if (IsFileLetter(at(i))) out.toFile = at(i++) - 'a';
    if (IsSeparator(at(i))) ++i;
    if (IsRankDigit(at(i))) out.toRow = '8' - at(i++);
    if (IsSeparator(at(i))) ++i;
    if (IsFileLetter(at(i))) {
        out.fromFile = out.toFile;
        out.toFile = at(i++) - 'a';
        if (IsRankDigit(at(i))) {
            out.fromRow = out.toRow;
            out.toRow = '8' - at(i++);
        }
    }
    if (at(i) == '=') ++i;
    out.promotion = PromotionOfLetter(at(i));
    return out.toFile >= 0 && out.toRow >= 0;
}

bool IsNullMoveText(std::string_view text) {
    return text.substr(0, 4) == NullMoveText || text == "--" || text == "0000" || text == "Z0";
}

bool ParseAndPlayMove(std::string_view text, Position& p, bool record, GameRecord& target) {
    if (IsNullMoveText(text)) return PlayNullMoveInGame(p, record, target);
    MoveDescription d;
    if (!ParseMoveText(text, p, d)) return false;
    return PlayMoveInGame(p, d.fromFile, d.fromRow, d.toFile, d.toRow, d.pieceType, record, target,
                          d.promotion);
}

} // namespace corvid
