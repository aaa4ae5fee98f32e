#include "protocol/read_loop.h"

#include "control/new_game.h"
#include "control/search_controller.h"
#include "protocol/engine_output.h"
#include "protocol/input_line.h"
#include "protocol/uci.h"
#include "protocol/winboard.h"
#include "search/search_info.h"

#include <cstdio>
#include <cstdlib>

namespace corvid {

void quitProcess(int exitCode) {
    stopSearch();
    flushOutput();
    std::_Exit(exitCode);
}

void protocolReadLoop(const std::string& pendingFirstLine) {
    newGame(true, true, nullptr);
    protocolGameResets();
    if (!pendingFirstLine.empty() && !inUciMode()) winboardCommand(pendingFirstLine);
    std::string line;
    while (!searchInfo.quitRequested.load()) {
        if (!readInputLine(stdin, line)) break;
        if (inUciMode())
            uciCommand(line);
        else
            winboardCommand(line);
    }
    searchInfo.protocolMode.store(false);
    quitProcess(0);
}

} // namespace corvid
