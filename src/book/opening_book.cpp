#include "book/opening_book.h"

#include "platform/engine_reporter.h"

#include <cstdio>

namespace corvid {

namespace {

int slotOf(uint64_t key) { return int(key & OpeningBook::SlotMask); }

void report(const char* text) { reporter().statusText(text); }

} // namespace

OpeningBook::OpeningBook() : table(SlotCount), pool(PoolSize) {}

OpeningBook& currentBook() {
    static OpeningBook book;
    return book;
}

void BookNew(OpeningBook& book) {
    for (BookEntry& entry : book.table) entry = BookEntry{};
    for (int i = 0; i < book.poolUsed; ++i) book.pool[size_t(i)] = BookEntry{};
    book.poolUsed = 0;
    book.positions = 0;
}

namespace {

// The outcome, with the old value and the stored value for the messages.
struct AddOutcome {
    BookAddResult result;
    int oldValue = 0;
    int newValue = 0;
};

AddOutcome addEntry(OpeningBook& book, uint64_t key, int value) {
    if (value == BookEmptyValue || value < INT16_MIN || value > INT16_MAX)
        return {BookAddResult::Refused};
    BookEntry* entry = &book.table[size_t(slotOf(key))];
    for (;;) {
        if (entry->value == BookEmptyValue) break;
        if (entry->key == key) {
            int old = entry->value;
            if (value == BookOccurrenceValue) {
                if (old > BookCounterBase && old < INT16_MAX) entry->value = int16_t(old + 1);
            } else {
                entry->value = int16_t(value);
            }
            return {BookAddResult::Updated, old, entry->value};
        }
        if (entry->next < 0) {
            if (book.poolUsed >= OpeningBook::PoolSize) return {BookAddResult::Full};
            entry->next = book.poolUsed++;
        }
        entry = &book.pool[size_t(entry->next)];
    }
    entry->key = key;
    entry->value = int16_t(value);
    ++book.positions;
    return {BookAddResult::Added, 0, value};
}

} // namespace

BookAddResult BookAddQuiet(OpeningBook& book, uint64_t key, int value) {
    return addEntry(book, key, value).result;
}

BookAddResult BookAdd(OpeningBook& book, uint64_t key, int value, bool silent) {
    AddOutcome outcome = addEntry(book, key, value);
    char text[96];
    switch (outcome.result) {
    case BookAddResult::Full:
        report("Book Full!");
        break;
    case BookAddResult::Updated:
        if (silent) break;
        std::snprintf(text, sizeof text, "Position Exists. %d\nValue was %d now %d", slotOf(key),
                      outcome.oldValue, outcome.newValue);
        report(text);
        break;
    case BookAddResult::Added:
        if (silent) break;
        std::snprintf(text, sizeof text, "Position Added. %d\nValue %d", slotOf(key), value);
        report(text);
        break;
    case BookAddResult::Refused:
        break;
    }
    return outcome.result;
}

const BookEntry* BookFind(const OpeningBook& book, uint64_t key) {
    const BookEntry* entry = &book.table[size_t(slotOf(key))];
    for (;;) {
        if (entry->value == BookEmptyValue) return nullptr;
        if (entry->key == key) return entry;
        if (entry->next < 0) return nullptr;
        entry = &book.pool[size_t(entry->next)];
    }
}

BookAddResult BookAddPosition(OpeningBook& book, Position& position, int value) {
    position.key = ComputeKey(position);
    position.pawnKey = ComputePawnKey(position);
    return BookAdd(book, position.key, value, false);
}

bool BookRemoveKey(OpeningBook& book, uint64_t key, bool silent) {
    int slot = slotOf(key);
    BookEntry* head = &book.table[size_t(slot)];
    BookEntry* previous = nullptr;
    BookEntry* entry = head;
    char text[96];
    for (;;) {
        if (entry->value == BookEmptyValue) break;
        if (entry->key == key) {
            --book.positions;
            if (!silent) {
                std::snprintf(text, sizeof text, "Position Removed. %d\nValue was %d", slot,
                              entry->value);
                report(text);
            }
            if (previous) {
                previous->next = entry->next;
            } else if (entry->next >= 0) {
                // The head takes over its successor, so the rest of the chain stays reachable.
                *head = book.pool[size_t(entry->next)];
            } else {
                *head = BookEntry{};
            }
            return true;
        }
        if (entry->next < 0) break;
        previous = entry;
        entry = &book.pool[size_t(entry->next)];
    }
    if (!silent) {
        std::snprintf(text, sizeof text, "Position does not exist. %d\n", slot);
        report(text);
    }
    return false;
}

bool BookRemovePosition(OpeningBook& book, Position& position, bool silent) {
    position.key = ComputeKey(position);
    position.pawnKey = ComputePawnKey(position);
    return BookRemoveKey(book, position.key, silent);
}

} // namespace corvid
