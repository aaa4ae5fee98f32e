#include "protocol/read_loop.h"

#include <cstdio>
#include <cstring>

namespace corvid {

// Placeholder until the protocols land: read until "quit" or the end of input.
int protocolReadLoop(const char* firstLine) {
    if (std::strncmp(firstLine, "quit", 4) == 0) return 0;
    char line[1024];
    while (std::fgets(line, sizeof line, stdin))
        if (std::strncmp(line, "quit", 4) == 0) break;
    return 0;
}

} // namespace corvid
