// Protocol commands are recognised by a word at the start of the line or anywhere in it; every
// entry of a table that matches runs, in table order.
#pragma once

#include <cstddef>
#include <string>

namespace corvid {

enum CommandMatch { MatchBegins, MatchContains, MatchWhole };

struct Command {
    const char* text;
    CommandMatch match;
    void (*run)(const std::string& line);
};

inline bool commandMatches(const Command& command, const std::string& line) {
    switch (command.match) {
    case MatchBegins:
        return line.compare(0, std::char_traits<char>::length(command.text), command.text) == 0;
    case MatchContains:
        return line.find(command.text) != std::string::npos;
    case MatchWhole:
        return line == command.text;
    }
    return false;
}

// Runs every matching command; a command may end the scan by returning through stop.
inline void runCommandTable(const Command* table, size_t count, const std::string& line) {
    for (size_t i = 0; i < count; ++i)
        if (commandMatches(table[i], line)) table[i].run(line);
}

} // namespace corvid
