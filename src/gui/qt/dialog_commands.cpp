// The commands that open the dialogs, and the installation of the panes.
#include "gui/logic/command_ids.h"
#include "gui/logic/setup_panel.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/main_window.h"

#include <QDialog>

namespace corvid {

namespace {

void run(MainWindow& window, std::unique_ptr<QDialog> dialog) {
    dialog->exec();
    window.refresh();
}

} // namespace

void installDialogs(MainWindow& window) {
    CommandDispatcher& d = window.dispatcher();
    d.on(cmd::SetTimeControl, [&window](int) { run(window, buildTimeDialog(window)); });
    d.on(cmd::UserDefinedLevel, [&window](int) { run(window, buildSearchSettingsDialog(window)); });
    d.on(cmd::PlayerInfo, [&window](int) { run(window, buildPlayerDialog(window)); });
    d.on(cmd::WinboardSettings,
         [&window](int) { run(window, buildGamePreferencesDialog(window, true)); });
    d.on(cmd::DefaultSettings,
         [&window](int) { run(window, buildGamePreferencesDialog(window, false)); });
    // The editor stops the search as it opens (BookEditor::open).
    d.on(cmd::BookEdit, [&window](int) { run(window, buildBookEditor(window)); });
    registerSetupCommands(d, window.state());
    installSetupPanel(window);
    installAnalysisPaneControls(window);
}

} // namespace corvid
