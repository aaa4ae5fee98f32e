// Process entry. Front ends start the program without arguments; the developer commands
// (perft, bench, --help) are the only arguments it knows, and any argument keeps it out of the
// protocols.
#include "gui/qt/desktop_program.h"
#include "startup/developer_commands.h"
#include "startup/start_up.h"

int main(int argc, char** argv) {
    if (argc > 1) return corvid::runDeveloperCommand(argc, argv);
    return corvid::startUp(corvid::runDesktopProgram);
}
