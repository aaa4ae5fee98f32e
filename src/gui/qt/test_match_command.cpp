#include "gui/qt/test_match_command.h"

#include "gui/logic/command_ids.h"
#include "gui/logic/test_match_command.h"
#include "gui/qt/main_window.h"

namespace corvid {

void installTestMatchCommand(MainWindow& window) {
    window.dispatcher().on(cmd::TestMatch, [&window](int) {
        window.setAnalysisPaneOpen(!window.state().analysisPaneOpen);
        startDesktopTestMatch(window.state());
    });
}

} // namespace corvid
