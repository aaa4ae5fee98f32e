// The window system's side of the game commands: Qt's clipboard as plain text, the file
// pickers, message boxes and the beep of the main window, files and text dropped on the
// window, and the last search line kept for "Play PV".
#pragma once

#include "gui/logic/clipboard_port.h"
#include "gui/logic/dialog_services.h"
#include "gui/logic/game_command_set.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace corvid {

class MainWindow;

class QtClipboard final : public ClipboardPort {
public:
    ClipboardWrite writeText(const std::string& text) override;
    bool readText(std::string& text) override;
};

class QtDialogServices final : public DialogServices {
public:
    explicit QtDialogServices(MainWindow& window) : window_(window) {}
    std::string openFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    void messageBox(const std::string& title, const std::string& text) override;
    void beep() override;

    // Replaceable (tests): picks a file; save chooses the save picker. "" when cancelled.
    std::function<QString(bool save, const QString& caption, const QString& folder,
                          const QString& filter)>
        chooseFile;

private:
    std::string fileName(bool save, const std::string& caption, const std::string& folder,
                         const std::string& filter);
    MainWindow& window_;
};

// Owned by the main window (object name "commandPorts"): the ports and the commands' state.
class CommandPorts : public QObject {
    Q_OBJECT
public:
    explicit CommandPorts(MainWindow& window);
    GameCommands& commands() { return *commands_; }
    QtDialogServices& dialogs() { return dialogs_; }

protected:
    // Files and text dropped on the main window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow& window_;
    QtClipboard clipboard_;
    QtDialogServices dialogs_;
    std::unique_ptr<GameCommands> commands_;
};

// Registers the game commands on the window's dispatcher (called once by the main window).
void installGameCommands(MainWindow& window);

} // namespace corvid
