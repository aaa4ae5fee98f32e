// The book store: the occurrence-counting rule, chains through removal, a full pool.
#include "book/book_test_helpers.h"
#include "book/opening_book.h"

#include <gtest/gtest.h>

namespace corvid {
namespace {

constexpr uint64_t Stride = uint64_t(OpeningBook::SlotCount); // keys sharing a slot

TEST(OpeningBookStore, OccurrencesNeverChangePlainValuesAndCountCounters) {
    OpeningBook book;
    for (int plain : {-100, -5, 0, 2, 40, 100}) {
        uint64_t key = 1000 + uint64_t(plain + 100);
        BookAdd(book, key, plain, true);
        for (int i = 0; i < 3; ++i) BookAdd(book, key, BookOccurrenceValue, true);
        ASSERT_NE(BookFind(book, key), nullptr);
        EXPECT_EQ(BookFind(book, key)->value, plain);
    }
    BookAdd(book, 7, BookOccurrenceValue, true);
    BookAdd(book, 7, BookOccurrenceValue, true);
    BookAdd(book, 7, BookOccurrenceValue, true);
    EXPECT_EQ(BookFind(book, 7)->value, 103);
    // A counter of a very frequent position stops at the top instead of turning negative.
    for (int i = 0; i < 33000; ++i) BookAdd(book, 8, BookOccurrenceValue, true);
    EXPECT_EQ(BookFind(book, 8)->value, INT16_MAX);
    // A plain value replaces a counter, and a new plain value replaces an old one.
    BookAdd(book, 7, -2, true);
    EXPECT_EQ(BookFind(book, 7)->value, -2);
    EXPECT_EQ(book.positions, 8);
    // The empty marker would hide the entry and miscount: refused.
    EXPECT_EQ(BookAdd(book, 99, BookEmptyValue, true), BookAddResult::Refused);
    EXPECT_EQ(BookFind(book, 99), nullptr);
    EXPECT_EQ(book.positions, 8);
}

TEST(OpeningBookStore, RemovingAnyLinkKeepsTheRestOfTheChain) {
    for (int removed = 0; removed < 4; ++removed) {
        OpeningBook book;
        for (int i = 0; i < 4; ++i) BookAdd(book, 5 + i * Stride, i, true);
        ASSERT_EQ(book.poolUsed, 3);
        ASSERT_TRUE(BookRemoveKey(book, 5 + removed * Stride, true));
        EXPECT_EQ(book.positions, 3);
        for (int i = 0; i < 4; ++i) {
            const BookEntry* entry = BookFind(book, 5 + i * Stride);
            if (i == removed) {
                EXPECT_EQ(entry, nullptr) << "removed link " << removed;
            } else {
                ASSERT_NE(entry, nullptr) << "link " << i << " after removing " << removed;
                EXPECT_EQ(entry->value, i);
            }
        }
        // The chain still takes new keys, and the removed key can come back.
        BookAdd(book, 5 + removed * Stride, 9, true);
        EXPECT_EQ(BookFind(book, 5 + removed * Stride)->value, 9);
        EXPECT_FALSE(BookRemoveKey(book, 5 + 9 * Stride, true));
        EXPECT_EQ(book.positions, 4);
    }
    OpeningBook single;
    BookAdd(single, 3, 1, true);
    BookRemoveKey(single, 3, true);
    EXPECT_EQ(BookFind(single, 3), nullptr);
    EXPECT_EQ(single.positions, 0);
}

TEST(OpeningBookStore, MessagesOnlyWhenNotSilent) {
    test::RecordingReporter reporter;
    OpeningBook book;
    BookAdd(book, 3, 1, true);
    BookRemoveKey(book, 3, true);
    EXPECT_TRUE(reporter.status.empty());
    BookAdd(book, 3, 1, false);
    BookAdd(book, 3, 2, false);
    BookRemoveKey(book, 3, false);
    BookRemoveKey(book, 3, false);
    ASSERT_EQ(reporter.status.size(), 4u);
    EXPECT_EQ(reporter.status[0], "Position Added. 3\nValue 1");
    EXPECT_EQ(reporter.status[1], "Position Exists. 3\nValue was 1 now 2");
    EXPECT_EQ(reporter.status[2], "Position Removed. 3\nValue was 2");
    EXPECT_EQ(reporter.status[3], "Position does not exist. 3\n");
}

TEST(OpeningBookStore, AFullPoolRefusesNewPositionsAndKeepsEverythingElse) {
    test::RecordingReporter reporter;
    OpeningBook book;
    // Three keys per slot: the pool runs out after two thirds of the table.
    int refused = 0;
    for (uint64_t layer = 0; layer < 3; ++layer)
        for (uint64_t slot = 0; slot < Stride; ++slot)
            refused += BookAddQuiet(book, slot + layer * Stride, 1) == BookAddResult::Full;
    EXPECT_EQ(book.poolUsed, OpeningBook::PoolSize);
    EXPECT_EQ(book.positions, OpeningBook::SlotCount + OpeningBook::PoolSize);
    EXPECT_EQ(refused, 3 * OpeningBook::SlotCount - book.positions);
    EXPECT_EQ(BookAdd(book, 12345 + 7 * Stride, 1, true), BookAddResult::Full);
    EXPECT_EQ(reporter.count("Book Full!"), 1);
    // Stored positions still update, count and remove; an empty head takes a key again.
    EXPECT_EQ(BookAdd(book, 0, 2, true), BookAddResult::Updated);
    EXPECT_EQ(BookFind(book, 0)->value, 2);
    EXPECT_TRUE(BookRemoveKey(book, Stride - 1, true));
    EXPECT_EQ(BookAdd(book, Stride - 1, 1, true), BookAddResult::Full); // links are not reused
    EXPECT_TRUE(BookRemoveKey(book, 2 * Stride - 1, true));
    EXPECT_EQ(BookAdd(book, Stride - 1, 1, true), BookAddResult::Added);
    BookNew(book);
    EXPECT_EQ(book.positions, 0);
    EXPECT_EQ(book.poolUsed, 0);
    EXPECT_EQ(BookFind(book, Stride), nullptr);
    EXPECT_EQ(BookAdd(book, Stride + 2 * Stride, 1, true), BookAddResult::Added);
}

} // namespace
} // namespace corvid
