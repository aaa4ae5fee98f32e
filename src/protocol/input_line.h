// Reading whole command lines from standard input.
#pragma once

#include <cstdio>
#include <string>

namespace corvid {

// Longest line kept; the rest of a longer line is read and discarded.
constexpr size_t MaxInputLine = 1 << 20;

// Reads one line without its line end (LF, CR LF or CR LF CR...); false at the end of input with
// nothing read.
bool readInputLine(std::FILE* file, std::string& line);

} // namespace corvid
