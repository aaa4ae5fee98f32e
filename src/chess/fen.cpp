#include "chess/fen.h"

#include "platform/engine_reporter.h"

#include <cstdio>
#include <cstring>

namespace corvid {

namespace {

constexpr const char* NotEnoughSquares = "Not a valid Position, not enough squares";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

int PieceIndex(char c) {
    for (int code = 0; code < 14; ++code)
        if (PieceLetters[code] == c && c != ' ') return code;
    return -1;
}

bool Refuse(const char* message, const char** error) {
    reporter().statusText(message);
    if (error) *error = message;
    return false;
}

} // namespace

bool SetPositionFromFen(Position& target, const char* text, size_t length, CastleInfo* castleInfo,
                        const char** error) {
    Position scratch;
    std::memset(&scratch, 0, sizeof scratch);
    std::memset(scratch.board, Empty, sizeof scratch.board);
    scratch.epSquare = NoSquare;
    scratch.castleInfo = castleInfo;
    int kingFile[2] = {4, 4}; // assumed e1 and e8 for reading castling letters
    bool sideRead = false;
    int8_t requestedRookFile[4] = {-1, -1, -1, -1};

    size_t i = 0;
    int cursor = 0;
    while (i < length && text[i] && cursor < 64) {
        char c = text[i++];
        if (c >= '1' && c <= '8') {
            cursor += c - '0';
        } else if (c == '/') {
            cursor = (cursor + 7) & ~7;
        } else if (int code = PieceIndex(c); code >= 0) {
            scratch.board[cursor] = PieceCode(code);
            if (TypeOf(PieceCode(code)) == King)
                kingFile[ColourOf(PieceCode(code))] = FileOf(cursor);
            ++cursor;
        }
    }
    bool enoughSquares = cursor >= 64;

    if (i < length && IsBlank(text[i])) ++i;
    for (int field = 0; field < 3; ++field) {
        while (i < length && IsBlank(text[i])) ++i;
        if (i >= length || text[i] == '\0' || text[i] == ';') break;
        size_t start = i;
        while (i < length && text[i] && !IsBlank(text[i]) && text[i] != ';') ++i;
        const char* word = text + start;
        size_t wordLength = i - start;
        if (field == 0) {
            if (word[0] == 'w') {
                scratch.sideToMove = White;
                sideRead = true;
            } else if (word[0] == 'b') {
                scratch.sideToMove = Black;
                scratch.ply = 1;
                sideRead = true;
            }
        } else if (field == 1) {
            for (size_t k = 0; k < wordLength; ++k) {
                char c = word[k];
                int right = -1, file = -1;
                if (c == 'K')
                    right = 0;
                else if (c == 'Q')
                    right = 1;
                else if (c == 'k')
                    right = 2;
                else if (c == 'q')
                    right = 3;
                else if (c >= 'A' && c <= 'H')
                    file = c - 'A', right = file > kingFile[White] ? 0 : 1;
                else if (c >= 'a' && c <= 'h')
                    file = c - 'a', right = file > kingFile[Black] ? 2 : 3;
                if (right < 0) continue;
                scratch.castleRights |= uint8_t(1 << right);
                requestedRookFile[right] = int8_t(file);
            }
        } else {
            if (wordLength >= 2 && word[0] >= 'a' && word[0] <= 'h' && word[1] >= '1' &&
                word[1] <= '8')
                scratch.epSquare = uint8_t((word[0] - 'a') + 8 * (8 - (word[1] - '0')));
        }
    }

    if (!enoughSquares || !sideRead) return Refuse(NotEnoughSquares, error);

    // Validate against a scratch CastleInfo so a refused text leaves the game's record alone.
    CastleInfo scratchInfo;
    scratch.castleInfo = &scratchInfo;
    const char* reason = nullptr;
    if (!ValidatePosition(scratch, requestedRookFile, &reason)) return Refuse(reason, error);
    if (castleInfo) *castleInfo = scratchInfo;
    scratch.castleInfo = castleInfo;
    target = scratch;
    return true;
}

bool SetPositionFromFen(Position& target, const char* text, CastleInfo* castleInfo,
                        const char** error) {
    return SetPositionFromFen(target, text, std::strlen(text), castleInfo, error);
}

int PiecePlacementToFen(char* buffer, const uint8_t* board) {
    char* out = buffer;
    for (int row = 0; row < 8; ++row) {
        int run = 0;
        for (int file = 0; file < 8; ++file) {
            PieceCode piece = board[MakeSquare(file, row)];
            if (piece == Empty) {
                ++run;
                continue;
            }
            if (run) *out++ = char('0' + run), run = 0;
            *out++ = PieceLetters[piece];
        }
        if (run) *out++ = char('0' + run);
        if (row < 7) *out++ = '/';
    }
    *out = '\0';
    return int(out - buffer);
}

int PositionToFen(char* buffer, const Position& p) {
    char* out = buffer + PiecePlacementToFen(buffer, p.board);
    out += std::sprintf(out, p.sideToMove == White ? " w " : " b ");
    if (p.castleRights == 0) *out++ = '-';
    const char rightLetters[4] = {'K', 'Q', 'k', 'q'};
    for (int i = 0; i < 4; ++i)
        if (p.castleRights & (1 << i)) *out++ = rightLetters[i];
    *out++ = ' ';
    if (p.epSquare < 64) {
        *out++ = char('a' + FileOf(p.epSquare));
        *out++ = char('8' - RowOf(p.epSquare));
    } else {
        *out++ = '-';
    }
    int clock = p.lastIrreversiblePly < p.ply ? p.ply - p.lastIrreversiblePly - 1 : 0;
    out += std::sprintf(out, " %d %d", clock, p.ply / 2 + 1);
    return int(out - buffer);
}

} // namespace corvid
