// The headless modes' command reader.
#pragma once

#include <string>

namespace corvid {

// Starts the protocol game, then reads and executes lines until "quit" or the end of input, and
// ends the process with exit code 0. pendingFirstLine: a WinBoard first line whose commands
// still have to run (empty when none).
[[noreturn]] void protocolReadLoop(const std::string& pendingFirstLine);

// Stops a running search, flushes the output and ends the process at once with the code (no
// destructors run while the search thread lives).
[[noreturn]] void quitProcess(int exitCode);

} // namespace corvid
