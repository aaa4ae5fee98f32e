// The book editor's commands as the desktop runs them on its window thread. Each first stops
// any search and waits until the search thread is idle, because the search thread reads the
// book without a lock.
#pragma once

#include "book/book_builder.h"

#include <string>

namespace corvid {

// Adds the file's positions to the book in use; false when it cannot be read.
bool EditorLoadBook(const std::string& fileName);
// Writes the book (counters seen at least threshold times as value 0); the records written, or
// -1 when the file could not be written (the old file then stays as it was).
int EditorSaveBook(const std::string& fileName, int threshold);
// Empties the book in use: "Book Cleared".
void EditorClearBook();
// "Add PGN": builds from the file and keeps what occurred often enough; the game counter.
int EditorAddPgn(const std::string& fileName, const BookBuildParameters& parameters);
// Stores the value (-2..2 from the book keys) for the game position, with its message.
void EditorSetPositionValue(int value);
// Removes the game position from the book, with its message.
void EditorRemovePosition();

} // namespace corvid
