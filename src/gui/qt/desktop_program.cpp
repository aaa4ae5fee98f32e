#include "gui/qt/desktop_program.h"

#include "gui/qt/display_check.h"
#include "gui/qt/main_window.h"

#include <QApplication>
#include <cstdio>

namespace corvid {

int runDesktopProgram(void (*prepareEngine)()) {
    std::string reason;
    if (!chooseDisplayPlatform(reason)) {
        std::fprintf(stderr, "Corvid: %s.\n", reason.c_str());
        // Nothing was asked of the program (no input, no window): it ends normally, as the
        // protocol modes do at the end of their input.
        return 0;
    }
    static int argc = 1;
    static char name[] = "corvid";
    static char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    QApplication::setApplicationName("Corvid");
    QApplication::setDesktopFileName("corvid");
    if (prepareEngine) prepareEngine();
    MainWindow window(true);
    window.start();
    return application.exec();
}

} // namespace corvid
