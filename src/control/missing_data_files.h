// The desktop's one report of data files found in none of the data folders.
#pragma once

#include <string>
#include <vector>

namespace corvid {

// The test match's start positions (one FEN per line), beside the default book.
inline constexpr const char* StartPositionsFile = "openingBook/testStartPositions.txt";

// The program's data files (the nine bitbases and the start positions) that exist in none of
// the data folders, as relative paths. The book is not among them: a book that does not load
// has its own message box.
std::vector<std::string> missingDataFiles();

// One status text naming the missing files and the folders searched ("" when none is missing).
std::string missingDataFilesText(const std::vector<std::string>& missing,
                                 const std::vector<std::string>& folders);

// In the desktop, shows that text once per process (later calls do nothing); the desktop calls
// it when its window is up. The protocol modes stay silent: a front end would read any line as
// protocol.
void reportMissingDataFiles();

} // namespace corvid
