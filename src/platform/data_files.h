// Locating the program's data files (bitbases, opening book, start positions).
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace corvid {

// The folders searched for data files, in order: the working directory ("."), the executable's
// directory, and share/corvid beside the executable's directory (an installed bin/corvid).
std::vector<std::string> dataFolders();

// The path under which a data file is found: relative to the working directory first, then
// in the other data folders. Either path separator is accepted. Returns the working-directory
// form when the file exists nowhere.
std::string findDataFile(const std::string& relativePath);

// Opens a data file found by findDataFile; nullptr when it exists nowhere.
std::FILE* openDataFile(const std::string& relativePath, const char* mode);

// The directory of the running executable ("" when unknown).
std::string executableDirectory();

} // namespace corvid
