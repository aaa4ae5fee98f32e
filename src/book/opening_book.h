// The opening book store: positions keyed by their Zobrist key, each with a small signed value,
// in a fixed hash table of slots with collision chains drawn from a fixed pool.
#pragma once

#include "chess/position.h"

#include <cstdint>
#include <vector>

namespace corvid {

// Values below 100 are book values from white's point of view; 101 and above count occurrences
// while a book is built from games and never reach a file as such.
constexpr int16_t BookEmptyValue = -30000;
constexpr int16_t BookOccurrenceValue = 101;
constexpr int BookCounterBase = 100;

struct BookEntry {
    uint64_t key = 0;
    int16_t value = BookEmptyValue;
    int32_t next = -1; // pool index of the next entry of the chain, -1 at the end
};

struct OpeningBook {
    static constexpr int SlotCount = 1 << 17;
    static constexpr uint64_t SlotMask = SlotCount - 1;
    static constexpr int PoolSize = 200000;

    std::vector<BookEntry> table; // SlotCount chain heads
    std::vector<BookEntry> pool;  // PoolSize chain links, handed out in order, never given back
    int poolUsed = 0;
    int positions = 0;

    OpeningBook();
};

// Per process: the book the engine plays from. The command side replaces or edits it only
// while the search thread is idle.
OpeningBook& currentBook();

enum class BookAddResult { Added, Updated, Full, Refused };

// Empties the book in place (the "Clear" command, and the start of a rebuild).
void BookNew(OpeningBook& book);

// Stores or updates one position. An occurrence (value 101) never changes a plain value and
// counts up a counter; any other value replaces the old one. Unless silent, the outcome is shown
// on the status line; a full pool is always reported. The empty marker is refused.
BookAddResult BookAdd(OpeningBook& book, uint64_t key, int value, bool silent);
// The same without any message: the building and loading walks, which report a full pool once.
BookAddResult BookAddQuiet(OpeningBook& book, uint64_t key, int value);

// The stored entry of the key, or nullptr.
const BookEntry* BookFind(const OpeningBook& book, uint64_t key);

// Stores the position (its keys recomputed from scratch) with the value, with a message.
BookAddResult BookAddPosition(OpeningBook& book, Position& position, int value);
// Removes the position; true when it was stored. Its pool entry is not reused.
bool BookRemovePosition(OpeningBook& book, Position& position, bool silent);
bool BookRemoveKey(OpeningBook& book, uint64_t key, bool silent);

// Calls visit(entry) for every stored entry in file order: slot 0 to the last, each chain in
// order. The entry may be changed but not unlinked.
template <typename Visit> void ForEachBookEntry(OpeningBook& book, Visit visit) {
    for (BookEntry& head : book.table) {
        if (head.value == BookEmptyValue) continue;
        for (BookEntry* entry = &head;; entry = &book.pool[size_t(entry->next)]) {
            if (entry->value != BookEmptyValue) visit(*entry);
            if (entry->next < 0) break;
        }
    }
}

} // namespace corvid
