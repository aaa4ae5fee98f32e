// Reading text files line by line, whatever their line ends.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace corvid {

// Reads one line (ended by LF, CR LF or CR, or the end of the file) without its line end. A line
// longer than maxLength is read to its end, keeps its first maxLength characters and sets
// tooLong. False at the end of the file.
bool readTextLine(std::FILE* file, std::string& line, size_t maxLength, bool& tooLong);

} // namespace corvid
