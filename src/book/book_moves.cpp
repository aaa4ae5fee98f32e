#include "book/book_moves.h"

#include "chess/make_move.h"
#include "chess/move_gen.h"
#include "platform/clock.h"

#include <cstdlib>

namespace corvid {

namespace {

// Whether the position after the move already occurred in the game since the last capture or
// pawn move, with the same side to move.
bool repeatsGame(const Position& after, const uint64_t* keyHistory) {
    if (!keyHistory) return false;
    int first = after.lastIrreversiblePly;
    if ((first & 1) != (after.ply & 1)) ++first;
    for (int p = first; p < after.ply; p += 2)
        if (keyHistory[p] == after.key) return true;
    return false;
}

// The moves the side to move may play: values not against it.
int keptMoves(const OpeningBook& book, const Position& position, const uint64_t* keyHistory,
              BookMoveList& list) {
    BookMoveList all;
    BookMoves(book, position, keyHistory, all);
    list.count = 0;
    for (int i = 0; i < all.count; ++i) {
        int value = all.values[i];
        if (position.sideToMove == White ? value >= 0 : value <= 0) {
            list.moves[list.count] = all.moves[i];
            list.values[list.count++] = all.values[i];
        }
    }
    return list.count;
}

} // namespace

KeyRandom& bookRandom() {
    static KeyRandom random = [] {
        KeyRandom r;
        r.Skip(32);
        return r;
    }();
    return random;
}

int BookMoves(const OpeningBook& book, const Position& position, const uint64_t* keyHistory,
              BookMoveList& list) {
    MoveList candidates;
    GenerateAllMoves(position, candidates);
    list.count = 0;
    for (int i = 0; i < candidates.count; ++i) {
        Move move = candidates.moves[i];
        // A damaged book must never lead to an illegal move.
        if (!IsLegal(position, move)) continue;
        Position after = position;
        MakeMoveWithCheck(after, move);
        after.key = ComputeKey(after);
        const BookEntry* entry = BookFind(book, after.key);
        if (!entry || repeatsGame(after, keyHistory)) continue;
        list.moves[list.count] = move;
        list.values[list.count++] = entry->value;
    }
    return list.count;
}

Move ChooseBookMove(const OpeningBook& book, const Position& position, const uint64_t* keyHistory,
                    KeyRandom& random, int64_t clockMs) {
    BookMoveList kept;
    int count = keptMoves(book, position, keyHistory, kept);
    if (count == 0) return NoMove;
    random.Skip(int(((clockMs % 128) + 128) % 128));
    auto pick = [&] { return int(uint32_t(random.Next()) % uint32_t(count)); };
    int index = pick();
    if (std::abs(kept.values[index]) < 2) index = pick();
    if (kept.values[index] == 0) index = pick();
    return kept.moves[index];
}

Move ChooseBookMove(const OpeningBook& book, const Position& position, const uint64_t* keyHistory) {
    return ChooseBookMove(book, position, keyHistory, bookRandom(), millisecondClock());
}

bool HasBookMove(const OpeningBook& book, const Position& position, const uint64_t* keyHistory) {
    BookMoveList kept;
    return keptMoves(book, position, keyHistory, kept) > 0;
}

} // namespace corvid
