// The committed default book is what its source games give.
#include "book/book_test_helpers.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace corvid {
namespace {

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << path;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Rebuilt by book_tool with the build's options from data/book/ (in the build's file order), it
// has the same bytes. After a change of the hash keys or the builder: cmake --build
// build/release --target regenerate_book, and commit the new book.
TEST(DefaultBook, RebuildingFromItsSourceGamesGivesTheCommittedBytes) {
    std::vector<std::string> sources;
    for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("data/book")))
        if (entry.path().extension() == ".pgn") sources.push_back(entry.path().string());
    std::sort(sources.begin(), sources.end());
    ASSERT_EQ(sources.size(), 4u);
    test::ScratchDirectory dir;
    std::string command = test::BuiltProgram("book_tool") + " build " + dir.file("TestBook.obk") +
                          " " + CORVID_BOOK_OPTIONS;
    for (const std::string& source : sources) command += " '" + source + "'";
    std::string out;
    ASSERT_EQ(test::RunCommand(command, out), 0) << out;
    std::string committed = FileBytes(test::SourcePath("data/openingBook/TestBook.obk"));
    EXPECT_GT(committed.size(), 6000u * 10);
    EXPECT_TRUE(FileBytes(dir.file("TestBook.obk")) == committed)
        << "the book differs from its source: run the regenerate_book target";
    EXPECT_TRUE(FileBytes(test::BuiltProgram("openingBook/TestBook.obk")) == committed);
}

} // namespace
} // namespace corvid
