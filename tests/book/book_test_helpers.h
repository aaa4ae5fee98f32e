// Helpers shared by the opening-book tests: a reporter that records the desktop messages, a
// scratch directory, and moves by their coordinate text.
#pragma once

#include "book/opening_book.h"
#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "platform/engine_reporter.h"
#include "support/scratch_directory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace corvid::test {

class RecordingReporter : public EngineReporter {
public:
    RecordingReporter() { setReporter(this); }
    ~RecordingReporter() override { setReporter(nullptr); }
    void statusText(const char* text) override { status.push_back(text); }
    void messageBox(const char* title, const char* text) override {
        boxes.push_back(std::string(title) + ": " + text);
    }
    int count(const std::string& text) const {
        int n = 0;
        for (const std::string& s : status) n += s == text;
        return n;
    }
    std::vector<std::string> status;
    std::vector<std::string> boxes;
};

// The legal move written as text (e2e4, e1g1 for castling), 0 when there is none.
inline Move MoveFromText(const Position& position, const std::string& text) {
    MoveList list;
    GenerateLegalMoves(position, list);
    for (int i = 0; i < list.count; ++i) {
        char buffer[8];
        FormatCoordinate(buffer, list.moves[i], position, false);
        if (text == buffer) return list.moves[i];
    }
    return NoMove;
}

// Plays the moves (coordinate texts separated by blanks), writing the key of each position
// before its move into keys[ply].
inline void PlayMoves(Position& position, const std::string& moves, uint64_t* keys = nullptr) {
    size_t start = 0;
    while (start < moves.size()) {
        size_t end = moves.find(' ', start);
        if (end == std::string::npos) end = moves.size();
        std::string text = moves.substr(start, end - start);
        start = end + 1;
        if (text.empty()) continue;
        Move move = MoveFromText(position, text);
        ASSERT_NE(move, NoMove) << text;
        if (keys) keys[position.ply] = position.key;
        MakeMoveWithCheck(position, move);
    }
    if (keys) keys[position.ply] = position.key;
}

// The key of the position after the moves.
inline uint64_t KeyAfter(Position position, const std::string& moves) {
    PlayMoves(position, moves);
    return ComputeKey(position);
}

} // namespace corvid::test
