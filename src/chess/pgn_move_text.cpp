#include "chess/move_text.h"
#include "chess/pgn.h"

#include <cstring>

namespace corvid {

namespace {

constexpr size_t MaxTokenLength = 39;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' ||
           (unsigned char)c < 32;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool EndsToken(char c) { return IsSpace(c) || std::strchr("{}()[];$", c) != nullptr; }

// A cursor over the move text that never leaves it.
struct Scanner {
    std::string_view text;
    size_t at = 0;

    bool done() const { return at >= text.size(); }
    char peek() const { return at < text.size() ? text[at] : '\0'; }

    void skipToLineEnd() {
        while (!done() && text[at] != '\n') ++at;
    }
    // A brace comment: braces counted, stopping at the end of the text if unterminated.
    void skipComment() {
        int depth = 0;
        do {
            char c = text[at++];
            if (c == '{')
                ++depth;
            else if (c == '}')
                --depth;
        } while (depth > 0 && !done());
    }
    // A variation or bracketed section, nested; comments inside may hold the closing character.
    void skipGroup(char open, char close) {
        int depth = 0;
        do {
            char c = text[at];
            if (c == '{') {
                skipComment();
                continue;
            }
            ++at;
            if (c == open)
                ++depth;
            else if (c == close)
                --depth;
        } while (depth > 0 && !done());
    }
    // Skips blanks and everything that is not a move token; true when a token starts here.
    bool toToken() {
        while (!done()) {
            char c = text[at];
            bool lineStart = at == 0 || text[at - 1] == '\n';
            if (IsSpace(c) || c == ')' || c == ']' || c == '}')
                ++at;
            else if (c == '{')
                skipComment();
            else if (c == '(')
                skipGroup('(', ')');
            else if (c == '[')
                skipGroup('[', ']');
            else if (c == ';' || (c == '%' && lineStart))
                skipToLineEnd();
            else if (c == '$') {
                ++at;
                while (IsDigit(peek())) ++at;
            } else
                return true;
        }
        return false;
    }
    std::string_view token() {
        size_t start = at;
        while (!done() && !EndsToken(text[at])) ++at;
        return text.substr(start, at - start);
    }
};

bool IsResult(std::string_view token) {
    return token == "1-0" || token == "0-1" || token == "1/2-1/2" || token == "*" ||
           token == "\xC2\xBD-\xC2\xBD"; // the draw written with one-half signs
}

// Annotations written as their own token: !, ?, !?, the e.p. suffix.
bool IsAnnotation(std::string_view token) {
    if (token == "e.p." || token == "ep") return true;
    for (char c : token)
        if (c != '!' && c != '?') return false;
    return true;
}

// Strips a move number ("12." or black's "12...") from the token's front.
std::string_view WithoutMoveNumber(std::string_view token) {
    size_t i = 0;
    while (i < token.size() && IsDigit(token[i])) ++i;
    if (i == 0) return token;
    if (i == token.size()) return {};  // a bare number
    if (token[i] != '.') return token; // 0-0, 1-0 and the like
    while (i < token.size() && token[i] == '.') ++i;
    return token.substr(i);
}

} // namespace

MoveListStats ParseMoveList(GameRecord& record, std::string_view text, Position& position) {
    MoveListStats stats;
    Scanner scan{text};
    while (scan.toToken()) {
        std::string_view token = scan.token();
        if (token.empty()) {
            ++scan.at; // a character that can only end a token
            continue;
        }
        if (IsResult(token)) {
            ++stats.results;
            continue;
        }
        token = WithoutMoveNumber(token);
        if (token.empty() || IsAnnotation(token)) continue;
        if (token.size() <= MaxTokenLength && ParseAndPlayMove(token, position, true, record))
            ++stats.played;
        else
            ++stats.failed;
    }
    return stats;
}

} // namespace corvid
