#include "startup/start_up.h"

#include "protocol/read_loop.h"
#include "startup/engine_init.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace corvid {

bool desktopWanted() {
    if (!isatty(STDIN_FILENO)) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

int startUp() {
    char line[1024];
    bool haveLine = !desktopWanted() && std::fgets(line, sizeof line, stdin) != nullptr;
    if (!haveLine) {
        std::fprintf(stderr, "Corvid: the desktop is not built yet.\n");
        return 0;
    }
    line[std::strcspn(line, "\r\n")] = '\0';
    initEngine(22);
    return protocolReadLoop(line);
}

} // namespace corvid
