#include "startup/start_up.h"

#include "protocol/engine_output.h"
#include "protocol/input_line.h"
#include "protocol/protocol_reporter.h"
#include "protocol/read_loop.h"
#include "protocol/winboard.h"
#include "search/search_info.h"
#include "startup/engine_init.h"
#include "startup/start_up_settings.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace corvid {

bool desktopWanted() {
    if (!isatty(STDIN_FILENO)) return false;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return (x11 && *x11) || (wayland && *wayland);
}

namespace {
void prepareDesktopEngine() { initEngine(loadStartUpSettings(false)); }
} // namespace

int startUp(DesktopProgram desktop) {
    searchInfo.protocolMode.store(false);
    std::string firstLine;
    bool haveLine = !desktopWanted() && readInputLine(stdin, firstLine);
    if (!haveLine) return desktop ? desktop(prepareDesktopEngine) : 1;
    // Before the engine is initialised only the harmless answers act on the first line.
    bool featuresSent = winboardFirstLine(firstLine);
    searchInfo.protocolMode.store(true);
    if (!inUciMode()) {
        useWinBoardReporter();
        if (!featuresSent) writeOutput("feature done=0\n");
        // Front ends of this protocol may interrupt the engine with SIGINT; it is not a stop.
        std::signal(SIGINT, SIG_IGN);
    }
    int hashSizeCode = loadStartUpSettings(true);
    if (inUciMode()) searchInfo.showSearchInfo.store(true);
    initEngine(hashSizeCode);
    bool firstLineDone = inUciMode() || featuresSent || firstLine.compare(0, 6, "xboard") == 0;
    protocolReadLoop(firstLineDone ? std::string() : firstLine);
}

} // namespace corvid
