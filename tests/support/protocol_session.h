// Helpers for protocol tests: a UCI or WinBoard session on the real executable, and checking
// that the moves an engine sends are legal.
#pragma once

#include "chess/position.h"
#include "support/engine_process.h"

#include <memory>
#include <string>
#include <vector>

namespace corvid::test {

// Generous waits: the sanitizer builds run several times slower.
constexpr int ReplyWaitMs = 20000;

// Starts corvid and completes the "uci" hand-shake (the reply lines are returned in reply).
// Without the book unless asked, so that every move is searched.
std::unique_ptr<EngineProcess> StartUci(std::vector<std::string>* reply = nullptr,
                                        bool book = false);
// Starts corvid with "xboard" and "protover 2" and reads up to "feature done=1".
std::unique_ptr<EngineProcess> StartWinBoard(std::vector<std::string>* reply = nullptr,
                                             bool book = false);

// The legal move with that coordinate text in the position (either castling form), or 0.
Move LegalMoveFromText(const Position& position, const std::string& text);
// The move text of a "bestmove X ..." or "move X" line.
std::string MoveWord(const std::string& line);
// Whitespace-separated words.
std::vector<std::string> Words(const std::string& line);

// A position plus the moves played on it from coordinate text (keeps its CastleInfo).
struct PlayedGame {
    std::unique_ptr<Position> position;
    std::unique_ptr<CastleInfo> castleInfo;
    explicit PlayedGame(const char* fen);
    bool Play(const std::string& text); // false when not legal
};

} // namespace corvid::test
