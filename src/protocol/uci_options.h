// The engine's options: the UCI registry from which the "uci" reply is printed and by which
// "setoption" is applied, and the few options WinBoard front ends may set ("feature option").
#pragma once

#include <string>

namespace corvid {

enum class OptionType { Spin, Check, Button };

struct UciOption {
    const char* name;
    OptionType type;
    const char* defaultText; // "" for a button; nullptr: no default printed
    int minimum, maximum;    // spin only
    void (*apply)(const std::string& value);
    // Most options change what a running search uses: the search is stopped first. The others
    // only set what the next search reads.
    bool stopsSearch = true;
};

// The declared options in the order the "uci" reply lists them.
const UciOption* uciOptions(int& count);

// Writes the "option name ..." lines.
void writeUciOptionLines();

// Applies "setoption name <name> [value <value>]" (the line without its line end). Names match
// without regard to case; unknown names are ignored.
void applySetOption(const std::string& line);

// Writes the "feature option=..." lines, each with the value in force.
void writeWinBoardOptionFeatures();
// Applies "option NAME=VALUE" or "option NAME" (a button); unknown names are ignored. The
// caller makes sure no search runs.
void applyWinBoardOption(const std::string& line);

// The table size in megabytes kept within the declared Hash range.
int clampHashMegabytes(long long megabytes);

} // namespace corvid
