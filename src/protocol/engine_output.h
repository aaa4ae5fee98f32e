// Everything the headless modes write to standard output. Both threads write (the command side
// answers, the search thread reports), so each line goes out with one formatted write and a
// flush under a lock and lines never interleave.
#pragma once

#include <cstdarg>

namespace corvid {

// Formats the text (which carries its own newline) and writes it at once.
void writeOutput(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Appends the formatted text to the debug log "testlog.txt" when the Debug Log option is on
// (the file is opened and closed for every entry).
void debugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Flushes standard output (before the process ends).
void flushOutput();

} // namespace corvid
