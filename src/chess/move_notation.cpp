#include "chess/move_notation.h"

#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"

#include <cstring>

namespace corvid {

std::atomic<bool> uciChess960{false};

namespace {

int WriteText(char* buffer, const char* text) {
    int n = int(std::strlen(text));
    std::memcpy(buffer, text, size_t(n) + 1);
    return n;
}

int WriteSquare(char* out, int square) {
    out[0] = char('a' + FileOf(square));
    out[1] = char('8' - RowOf(square));
    return 2;
}

bool IsCapture(const Position& p, int from, int to) {
    return p.board[to] != Empty ||
           (TypeOf(p.board[from]) == Pawn && to == p.epSquare && FileOf(from) != FileOf(to));
}

} // namespace

int FormatSan(char* buffer, const Position& p, Move move) {
    const int from = MoveFrom(move), to = MoveTo(move);
    const PieceCode mover = p.board[from];
    MoveList legal;
    GenerateLegalMoves(p, legal);
    bool needFile = false, needRank = false;
    for (int i = 0; i < legal.count; ++i) {
        int otherFrom = MoveFrom(legal.moves[i]);
        // The same move with another promotion piece is not a different piece.
        if (otherFrom == from || MoveTo(legal.moves[i]) != to || p.board[otherFrom] != mover)
            continue;
        if (IsCastling(p, legal.moves[i])) continue;
        if (FileOf(otherFrom) != FileOf(from))
            needFile = true;
        else
            needRank = true;
    }
    const bool pawn = TypeOf(mover) == Pawn;
    const bool capture = IsCapture(p, from, to);
    int n = 0;
    if (!pawn) buffer[n++] = PieceLetters[TypeOf(mover)];
    if (needFile || (pawn && capture)) buffer[n++] = char('a' + FileOf(from));
    if (needRank) buffer[n++] = char('8' - RowOf(from));
    if (capture) buffer[n++] = 'x';
    n += WriteSquare(buffer + n, to);
    buffer[n] = '\0';
    return n;
}

int FormatMove(char* buffer, Move move, const Position& p, int form) {
    if (move == NoMove) return WriteText(buffer, "Null");
    if (IsMarker(move)) {
        int code = move & ~MarkerBit;
        return WriteText(buffer, code == TableMarker ? "<tt>" : code == DrawMarker ? "<draw>" : "");
    }
    if (form == CoordinateForm)
        return FormatCoordinate(buffer, move, p, uciChess960.load(std::memory_order_relaxed));
    if (!IsPseudoLegal(p, move, p.sideToMove, false)) return WriteText(buffer, "xx");

    const int from = MoveFrom(move), to = MoveTo(move);
    const PieceCode mover = p.board[from];
    int n = 0;
    if (IsCastling(p, move)) {
        n = WriteText(buffer, to > from ? "O-O" : "O-O-O");
    } else if (form == SanForm) {
        n = FormatSan(buffer, p, move);
    } else {
        if (TypeOf(mover) != Pawn) buffer[n++] = PieceLetters[TypeOf(mover)];
        n += WriteSquare(buffer + n, from);
        buffer[n++] = IsCapture(p, from, to) ? 'x' : '-';
        n += WriteSquare(buffer + n, to);
    }
    if (TypeOf(mover) == Pawn && (SquareBB(to) & PromotionRows)) {
        buffer[n++] = '=';
        buffer[n++] = "QNRB"[PromotionCode(move)];
    }

    Position after = p;
    MakeMoveWithCheck(after, move);
    if (after.checkers)
        buffer[n++] = QuickMateTest(after, after.checkers, 0, after.sideToMove) ? '#' : '+';

    if (form == SanForm) buffer[n++] = ' ';
    while (form == LongForm && n < 7) buffer[n++] = ' ';
    buffer[n] = '\0';
    return n;
}

} // namespace corvid
