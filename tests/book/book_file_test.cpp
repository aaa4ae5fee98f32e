// The book file: exact records, the saving threshold, safe replacement, and bad files.
#include "book/book_file.h"
#include "book/book_test_helpers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <utility>

namespace corvid {
namespace {

using Records = std::vector<std::pair<uint64_t, int>>;

Records recordsOf(OpeningBook& book) {
    Records records;
    ForEachBookEntry(book, [&](BookEntry& e) { records.emplace_back(e.key, e.value); });
    return records;
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// A book with chains, plain values of both signs and occurrence counters 101..105.
void fillSample(OpeningBook& book) {
    std::mt19937_64 random(11);
    for (int i = 0; i < 3000; ++i) BookAdd(book, random(), int(random() % 200) - 100, true);
    for (int i = 0; i < 50; ++i) BookAdd(book, 77 + i * uint64_t(OpeningBook::SlotCount), i, true);
    for (int i = 0; i < 500; ++i) {
        uint64_t key = random();
        for (int n = 0; n <= i % 5; ++n) BookAdd(book, key, BookOccurrenceValue, true);
    }
}

TEST(BookFile, SaveAndReloadGiveTheSameRecordsInTenBytesEach) {
    test::ScratchDirectory dir;
    OpeningBook book;
    fillSample(book);
    const int plain = book.positions - 500;
    ASSERT_EQ(BookSave(book, 3, dir.file("a.obk")), plain + 300); // counters 103..105 kept
    EXPECT_EQ(std::filesystem::file_size(dir.file("a.obk")), size_t(plain + 300) * 10);
    OpeningBook reloaded;
    BookLoadResult loaded = BookLoad(reloaded, dir.file("a.obk"));
    EXPECT_TRUE(loaded.opened);
    EXPECT_EQ(loaded.records, plain + 300);
    EXPECT_EQ(reloaded.positions, plain + 300);
    // The frequent counters became value 0 in memory too; the rare ones stay counters there.
    Records saved = recordsOf(book);
    saved.erase(
        std::remove_if(saved.begin(), saved.end(), [](const auto& r) { return r.second > 100; }),
        saved.end());
    EXPECT_EQ(recordsOf(reloaded), saved);
    // Saving what was loaded writes the identical file.
    ASSERT_EQ(BookSave(reloaded, 0, dir.file("b.obk")), plain + 300);
    EXPECT_EQ(readBytes(dir.file("a.obk")), readBytes(dir.file("b.obk")));
}

TEST(BookFile, RecordsAreTenBytesLittleEndian) {
    test::ScratchDirectory dir;
    OpeningBook book;
    BookAdd(book, 0x0123456789ABCDEFull, -2, true);
    ASSERT_EQ(BookSave(book, 0, dir.file("one.obk")), 1);
    EXPECT_EQ(readBytes(dir.file("one.obk")),
              std::string("\xEF\xCD\xAB\x89\x67\x45\x23\x01\xFE\xFF", 10));
}

TEST(BookFile, FilteringInMemoryEqualsSavingAndReloading) {
    for (int threshold : {0, 1, 2, 4, 6}) {
        test::ScratchDirectory dir;
        OpeningBook book;
        fillSample(book);
        OpeningBook filtered;
        fillSample(filtered);
        BookKeepFrequent(filtered, threshold);
        ASSERT_GE(BookSave(book, threshold, dir.file("t.obk")), 0);
        OpeningBook reloaded;
        BookLoad(reloaded, dir.file("t.obk"));
        EXPECT_EQ(recordsOf(filtered), recordsOf(reloaded)) << "threshold " << threshold;
        EXPECT_EQ(filtered.positions, reloaded.positions);
        EXPECT_EQ(filtered.poolUsed, reloaded.poolUsed);
    }
}

TEST(BookFile, SavingReplacesTheFileOnlyWhenComplete) {
    test::ScratchDirectory dir;
    OpeningBook book;
    BookAdd(book, 5, 1, true);
    BookAdd(book, 6, BookOccurrenceValue, true);
    ASSERT_EQ(BookSave(book, 2, dir.file("book.obk")), 1);
    BookAdd(book, 7, 2, true);
    ASSERT_EQ(BookSave(book, 2, dir.file("book.obk")), 2);
    EXPECT_EQ(std::filesystem::file_size(dir.file("book.obk")), 20u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"book.obk"}); // no temporary left

    test::RecordingReporter reporter;
    std::filesystem::create_directory(dir.file("taken"));
    EXPECT_EQ(BookSave(book, 0, dir.file("taken")), -1);
    EXPECT_EQ(BookSave(book, 0, dir.file("missing/book.obk")), -1);
    EXPECT_EQ(BookSave(book, 0, ""), -1);
    EXPECT_EQ(reporter.boxes.size(), 3u);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("taken")));
    std::vector<std::string> left = dir.entries();
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"book.obk", "taken"}));
    // The failed saves changed nothing in memory: the counter is still a counter.
    EXPECT_EQ(BookFind(book, 6)->value, BookOccurrenceValue);
}

TEST(BookFile, BadFilesNeverCrashAndLoadOnlyWholeRecords) {
    test::ScratchDirectory dir;
    test::RecordingReporter reporter;
    OpeningBook source;
    for (int i = 1; i <= 3; ++i) BookAdd(source, uint64_t(i) * 0x9E3779B97F4A7C15ull, i, true);
    ASSERT_EQ(BookSave(source, 0, dir.file("three.obk")), 3);
    std::string bytes = readBytes(dir.file("three.obk"));

    for (size_t cut = 0; cut <= bytes.size(); ++cut) {
        writeBytes(dir.file("cut.obk"), bytes.substr(0, cut));
        OpeningBook book;
        BookLoadResult loaded = BookLoad(book, dir.file("cut.obk"));
        EXPECT_TRUE(loaded.opened);
        EXPECT_EQ(loaded.records, int(cut / 10)) << cut << " bytes";
        EXPECT_EQ(book.positions, int(cut / 10)) << cut << " bytes";
    }
    EXPECT_TRUE(reporter.boxes.empty());

    OpeningBook book;
    BookAdd(book, 42, 1, true);
    for (const std::string& name : {std::string("absent.obk"), std::string("")}) {
        EXPECT_FALSE(BookLoad(book, dir.file(name)).opened) << name;
    }
    std::filesystem::create_directory(dir.file("dir.obk"));
    EXPECT_FALSE(BookLoad(book, dir.file("dir.obk")).opened);
    EXPECT_EQ(reporter.boxes.size(), 3u);
    EXPECT_EQ(reporter.boxes.back(), dir.file("dir.obk") + ": Error Loading Opening Book");
    EXPECT_EQ(book.positions, 1);

    // Random bytes: whatever the keys and values, the store stays consistent.
    std::mt19937 random(5);
    std::string noise(123457, '\0');
    for (char& c : noise) c = char(random());
    noise.replace(0, 10, std::string("\x01\0\0\0\0\0\0\0\xD0\x8A", 10)); // value -30000
    int markers = 0;
    for (size_t at = 8; at + 2 <= 123450; at += 10)
        markers += noise.compare(at, 2, std::string("\xD0\x8A", 2)) == 0;
    writeBytes(dir.file("noise.obk"), noise);
    OpeningBook noisy;
    BookLoadResult loaded = BookLoad(noisy, dir.file("noise.obk"));
    EXPECT_EQ(loaded.records, 12345);
    EXPECT_GE(markers, 1);
    EXPECT_EQ(loaded.stored, 12345 - markers); // the empty marker is not a position
    EXPECT_EQ(noisy.positions, int(recordsOf(noisy).size()));
    EXPECT_EQ(BookFind(noisy, 1), nullptr);
}

TEST(BookFile, LoadingIntoAFullBookStopsNothing) {
    test::ScratchDirectory dir;
    test::RecordingReporter reporter;
    OpeningBook big;
    const uint64_t stride = OpeningBook::SlotCount;
    for (uint64_t layer = 0; layer < 3; ++layer)
        for (uint64_t slot = 0; slot < stride; ++slot)
            BookAddQuiet(big, slot + layer * stride, int(layer));
    ASSERT_EQ(BookSave(big, 0, dir.file("big.obk")), big.positions);
    OpeningBook extra;
    BookAdd(extra, 4 * stride + 9, 1, true); // a key of a full chain
    BookAdd(extra, 1, 2, true);              // an update of a stored key
    ASSERT_EQ(BookSave(extra, 0, dir.file("extra.obk")), 2);
    reporter.status.clear();
    BookLoadResult loaded = BookLoad(big, dir.file("extra.obk"));
    EXPECT_EQ(loaded.records, 2);
    EXPECT_EQ(loaded.stored, 1);
    EXPECT_EQ(reporter.count("Book Full!"), 1);
    EXPECT_EQ(BookFind(big, 1)->value, 2);
    EXPECT_EQ(BookFind(big, 4 * stride + 9), nullptr);
}

} // namespace
} // namespace corvid
