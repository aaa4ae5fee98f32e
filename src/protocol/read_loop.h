// The headless modes' command reader.
#pragma once

namespace corvid {

// Executes the first line, then reads and executes lines until the session ends; returns the
// process exit code.
int protocolReadLoop(const char* firstLine);

} // namespace corvid
