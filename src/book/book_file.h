// The ".obk" book file: a flat list of 10-byte little-endian records (8-byte key, 2-byte value),
// no header, in the order the store is walked.
#pragma once

#include "book/opening_book.h"

#include <string>

namespace corvid {

constexpr int BookRecordSize = 10;
constexpr const char* DefaultBookPath = "openingBook\\TestBook.obk";

struct BookLoadResult {
    bool opened = false;
    int records = 0; // whole records read
    int stored = 0;  // of which added or updated
};

// Adds the records of the file to the book (the caller empties it first to replace it). The
// name may use either separator and is looked up in the working directory first, then next to
// the executable. A trailing partial record is ignored. A file that cannot be opened as a
// regular file is reported in a message box (the desktop only) and changes nothing.
BookLoadResult BookLoad(OpeningBook& book, const std::string& fileName);

// Writes the book: plain values as they are, counters of positions seen at least threshold
// times as value 0 (reset in memory too, once the file is written), rarer counters dropped.
// The file is written under a temporary name and renamed over the old one only when complete;
// on failure the old file and the book stay unchanged. Returns the number of records written,
// or -1 on failure.
int BookSave(OpeningBook& book, int threshold, const std::string& fileName);

// What saving with the threshold and loading the file back into an empty book gives, done in
// memory (no file is involved, so nothing is lost when a file cannot be written).
void BookKeepFrequent(OpeningBook& book, int threshold);

// Loads the engine's book at start-up (the BookPath setting); a missing file leaves it empty.
void InitOpeningBook(const std::string& bookPath);

} // namespace corvid
