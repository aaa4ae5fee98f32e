// Helpers shared by the opening-book tests: moves by their coordinate text (the recording
// reporter and the scratch directory are in the test support).
#pragma once

#include "book/book_moves.h"
#include "book/opening_book.h"
#include "chess/coordinate_notation.h"
#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "platform/engine_reporter.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace corvid::test {

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

// The book moves of the position after the moves, as coordinate texts.
inline std::set<std::string> BookMovesAfter(const OpeningBook& book, const std::string& moves) {
    FenPosition start(StartFen);
    Position p = start.position;
    uint64_t keys[64] = {};
    PlayMoves(p, moves, keys);
    BookMoveList list;
    BookMoves(book, p, keys, list);
    std::set<std::string> texts;
    for (int i = 0; i < list.count; ++i) {
        char text[8];
        FormatCoordinate(text, list.moves[i], p, false);
        texts.insert(text);
    }
    return texts;
}

} // namespace corvid::test
