// The desktop preferences kept in "Corvid.dft": player name, time control, display and
// search options and the hash size, one value per line in a fixed order.
#pragma once

#include "search/transposition_table.h"

#include <cstdio>

namespace corvid {

constexpr int PlayerNameLength = 38;
constexpr int MinHashSizeCode = 19, MaxHashSizeCode = 27;

struct Preferences {
    char playerName[PlayerNameLength + 1] = "Human";
    int baseMinutes = 5; // desktop time control, as set in the Game Time dialog
    int incrementSeconds = 5;
    int spareValue = 52; // kept and written back
    int ponderEnabled = 0;
    int showSearchInfo = 1;
    int hashSizeCode = DefaultHashSizeCode; // 2^(code - 2) table buckets
    int highlightLastMove = 1;
    int evalsFromWhitePov = 1;
    int autoFlip = 1;
    int waitAtLimit = 0;
};

// Per process: read at start-up, written when the desktop closes.
extern Preferences preferences;

// Reads the file over the values: the name line (cut to 38 characters), then the integers in
// order; a file with fewer lines leaves the rest as they were. A hash size code outside 19..27
// becomes 22. False when the file cannot be read.
bool loadPreferences(Preferences& preferences, const char* fileName);
bool loadPreferences(Preferences& preferences, std::FILE* file);
// Writes the eleven lines. False when the file cannot be written.
bool savePreferences(const Preferences& preferences, const char* fileName);

} // namespace corvid
