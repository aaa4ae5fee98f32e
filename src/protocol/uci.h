// The UCI protocol: the start-up reply and the command handler.
#pragma once

#include <string>

namespace corvid {

// Answers the line "uci": identification, options, "uciok"; sets UCI mode.
void uciStartup();

// Handles one line (without its line end) in UCI mode.
void uciCommand(const std::string& line);

} // namespace corvid
