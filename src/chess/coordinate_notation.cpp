#include "chess/coordinate_notation.h"

#include "chess/move_gen.h"

namespace corvid {

int FormatCoordinate(char* buffer, Move move, const Position& p, bool chess960) {
    if (move == NoMove || IsMarker(move)) {
        buffer[0] = '\0';
        return 0;
    }
    int from = MoveFrom(move), to = MoveTo(move);
    PieceCode mover = p.board[from];
    if (!chess960 && TypeOf(mover) == King && p.board[to] == MakePiece(ColourOf(mover), Rook))
        to = CastlingKingTarget(from, to);
    int n = 0;
    buffer[n++] = char('a' + FileOf(from));
    buffer[n++] = char('8' - RowOf(from));
    buffer[n++] = char('a' + FileOf(to));
    buffer[n++] = char('8' - RowOf(to));
    if (TypeOf(mover) == Pawn && (SquareBB(to) & PromotionRows))
        buffer[n++] = "qnrb"[PromotionCode(move)];
    buffer[n] = '\0';
    return n;
}

Move LegalMoveNamed(const Position& p, std::string_view text) {
    MoveList legal;
    GenerateLegalMoves(p, legal);
    for (int i = 0; i < legal.count; ++i)
        for (bool chess960 : {false, true}) {
            char name[16];
            FormatCoordinate(name, legal.moves[i], p, chess960);
            if (text == name) return legal.moves[i];
        }
    return NoMove;
}

} // namespace corvid
