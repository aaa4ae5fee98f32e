// Locating the program's data files (bitbases, opening book, start positions).
#pragma once

#include <cstdio>
#include <string>

namespace corvid {

// The path under which a data file is found: relative to the working directory first, then
// next to the executable. Either path separator is accepted. Returns the working-directory
// form when the file exists in neither place.
std::string findDataFile(const std::string& relativePath);

// Opens a data file found by findDataFile; nullptr when it exists nowhere.
std::FILE* openDataFile(const std::string& relativePath, const char* mode);

// The directory of the running executable ("" when unknown).
std::string executableDirectory();

} // namespace corvid
