#include "gui/logic/clipboard_exchange.h"

#include "chess/fen.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "chess/move_notation.h"
#include "chess/move_text.h"
#include "chess/pgn.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "gui/logic/desktop.h"
#include "gui/logic/game_from_pgn.h"
#include "gui/logic/pgn_browser.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>

namespace corvid {

namespace {

std::string trimmed(const std::string& text) {
    const char* blanks = " \t\r\n\f\v";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string moveNumber(int ply, bool blackFirst) {
    char text[24];
    std::snprintf(text, sizeof text, blackFirst ? "%d... " : "%d. ", ply / 2 + 1);
    return text;
}

const char* resultText(int result) {
    return result == 2 ? "1-0" : result == 1 ? "0-1" : result == 3 ? "1/2-1/2" : "*";
}

// The move that leads from one position to the next (0 for a passed turn).
Move moveBetween(const Position& before, const Position& after) {
    MoveList legal;
    GenerateLegalMoves(before, legal);
    for (int i = 0; i < legal.count; ++i) {
        for (int promotion = 0; promotion < 4; ++promotion) {
            Move move = Move((legal.moves[i] & 0x0FFF) | (promotion << 12));
            Position p = before;
            MakeMoveWithCheck(p, move);
            if (p.key == after.key) return move;
            if (TypeOf(before.board[MoveFrom(move)]) != Pawn ||
                !(SquareBB(MoveTo(move)) & PromotionRows))
                break;
        }
    }
    return NoMove;
}

// A castling right whose king or rook stands off the standard squares: a Chess960 game.
bool needsChess960(const Position& start) {
    if (!start.castleInfo) return false;
    constexpr uint8_t standardRooks[4] = {63, 56, 7, 0}; // h1 a1 h8 a8
    for (int right = 0; right < 4; ++right) {
        if (!(start.castleRights & (1 << right))) continue;
        const int king = start.kingSquare[right < 2 ? White : Black];
        if (start.castleInfo->rookSquare[right] != standardRooks[right] || FileOf(king) != 4)
            return true;
    }
    return false;
}

bool readsAsFen(const std::string& text, const char** error) {
    Position scratch;
    CastleInfo castleInfo;
    return SetPositionFromFen(scratch, text.c_str(), &castleInfo, error);
}

} // namespace

size_t pastePgnLimit() { return size_t(PgnMoveTextSize - 1); }

std::string transcriptText(const GameSnapshot& game) {
    std::string text;
    if (!game.standardStart) text = "[FEN \"" + game.startFen + "\"]\n[SetUp \"1\"]\n\n";
    for (int ply = game.startPly; ply < game.moveCount; ++ply) {
        std::string unit;
        if (ply % 2 == 0)
            unit = moveNumber(ply, false);
        else if (ply == game.startPly)
            unit = moveNumber(ply, true);
        unit += game.moveTexts[size_t(ply)] + " ";
        if (ply % 2 == 1) unit += "\n";
        if (text.size() + unit.size() > TranscriptLimit) break;
        text += unit;
    }
    return text;
}

std::string standardPgnText(const GameSnapshot& game, const StandardPgnInfo& info) {
    CastleInfo castleInfo;
    Position p;
    if (!SetPositionFromFen(p, game.startFen.c_str(), &castleInfo)) return {};
    const char* result = resultText(info.result);
    std::string text = "[Event \"Corvid Game\"]\n[Site \"?\"]\n[Date \"" + info.date +
                       "\"]\n[Round \"-\"]\n[White \"" + info.white + "\"]\n[Black \"" +
                       info.black + "\"]\n[Result \"" + result + "\"]\n";
    if (!game.standardStart) {
        if (needsChess960(p)) text += "[Variant \"Chess960\"]\n";
        text += "[SetUp \"1\"]\n[FEN \"" + game.startFen + "\"]\n";
    }
    text += "\n";
    // The moves again from the start, each written in SAN before it is played.
    static GameRecord unrecorded; // never written: the replay records nothing
    std::string line;
    bool cut = false;
    for (int ply = game.startPly; ply < game.moveCount && !cut; ++ply) {
        const Position before = p;
        if (!ParseAndPlayMove(game.moveTexts[size_t(ply)], p, false, unrecorded)) break;
        std::string unit;
        if (ply % 2 == 0 || ply == game.startPly) unit = moveNumber(ply, ply % 2 == 1);
        Move move = moveBetween(before, p);
        char san[MoveTextBufferSize];
        if (move == NoMove) {
            unit += "--";
        } else {
            int n = FormatMove(san, move, before, SanForm);
            while (n > 0 && san[n - 1] == ' ') --n;
            unit.append(san, size_t(n));
        }
        cut = text.size() + line.size() + unit.size() + 16 > ClipboardLimit;
        if (cut) break;
        if (!line.empty() && line.size() + 1 + unit.size() > 79) {
            text += line + "\n";
            line.clear();
        }
        line += (line.empty() ? "" : " ") + unit;
    }
    const std::string end = cut ? "*" : result;
    if (!line.empty() && line.size() + 1 + end.size() > 79) {
        text += line + "\n";
        line.clear();
    }
    text += line + (line.empty() ? "" : " ") + end + "\n";
    return text;
}

std::string pgnDateToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[32];
    std::snprintf(date, sizeof date, "%04d.%02d.%02d", local.tm_year + 1900, local.tm_mon + 1,
                  local.tm_mday);
    return date;
}

std::string analysisCopyText(const std::string& engine, long long hashMegabytes,
                             const std::string& fen, const std::string& lines) {
    char head[160];
    std::snprintf(head, sizeof head, "%s  (%lld MB hash)", engine.c_str(), hashMegabytes);
    std::string text = std::string(head) + "\nFEN: " + fen + "\n\n";
    size_t at = 0;
    while (at < lines.size()) {
        size_t end = lines.find('\n', at);
        end = end == std::string::npos ? lines.size() : end + 1;
        if (text.size() + (end - at) > ClipboardLimit) break;
        text.append(lines, at, end - at);
        at = end;
    }
    return text;
}

std::string copyToClipboard(ClipboardPort& clipboard, const std::string& text, const char* done) {
    switch (clipboard.writeText(text.substr(0, ClipboardLimit))) {
    case ClipboardWrite::Done:
        return done;
    case ClipboardWrite::CannotOpen:
        return "Cannot Open Clipboard";
    default:
        return "Clipboard null";
    }
}

PasteOutcome pasteText(WindowState& state, const std::string& text, PasteWish wish,
                       const std::string& undoFile) {
    stopSearch();
    PasteOutcome outcome;
    const std::string line = trimmed(text);
    const bool oneLine = line.find_first_of("\r\n") == std::string::npos;
    const char* fenError = "Not a valid Position, not enough squares";
    const bool fen = oneLine && !line.empty() && line.size() <= PasteFenLimit &&
                     line.front() != '[' && readsAsFen(line, &fenError);
    // A broken FEN is no game either, whatever square names it holds ("e3").
    const std::string firstWord = line.substr(0, line.find(' '));
    const bool fenShaped = oneLine && std::count(firstWord.begin(), firstWord.end(), '/') >= 7;

    PgnGame game;
    PgnGameCheck check;
    const bool pgnFits = text.size() <= pastePgnLimit();
    bool isGame = false;
    if (!fen && !fenShaped && pgnFits && readPgnText(text, game)) {
        check = checkPgnGame(game);
        isGame = check.startValid && (check.hasTags || check.movesPlayed > 0);
    }

    if (!fen && !isGame) {
        if (!check.startValid)
            outcome.status = check.error;
        else if (wish == PasteWish::Position && line.size() > PasteFenLimit)
            outcome.status = "Position not pasted: the text is longer than 255 characters.";
        else if (oneLine && (wish == PasteWish::Position || fenShaped))
            outcome.status = fenError;
        else if (!pgnFits)
            outcome.status = "Transcript not pasted: the text is longer than " +
                             std::to_string(pastePgnLimit()) + " characters.";
        else
            outcome.status = "Nothing pasted: the clipboard holds no game or position.";
        return outcome;
    }

    saveGameToFile(undoFile, false);
    resetWindowForNewGame(state);
    if (fen) {
        Position start;
        SetPositionFromFen(start, line.c_str(), &gameCastleInfo);
        newGame(false, true, &start);
        gameReplaced(state);
        outcome.kind = PasteKind::Position;
        outcome.status = "Position Pasted.";
    } else {
        startGameFromPgn(state, game);
        outcome.kind = PasteKind::Game;
        outcome.status = "Transcript Pasted";
    }
    return outcome;
}

} // namespace corvid
