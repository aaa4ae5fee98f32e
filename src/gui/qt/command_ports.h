// The window system's side of the game commands: Qt's clipboard as plain text, files and text
// dropped on the window, and the last search line kept for "Play PV". File pickers and message
// boxes are the main window's dialog services.
#pragma once

#include "gui/logic/clipboard_port.h"
#include "gui/logic/game_command_set.h"

#include <QObject>
#include <memory>

namespace corvid {

class MainWindow;

class QtClipboard final : public ClipboardPort {
public:
    ClipboardWrite writeText(const std::string& text) override;
    bool readText(std::string& text) override;
};

// Owned by the main window (object name "commandPorts"): the ports and the commands' state.
class CommandPorts : public QObject {
    Q_OBJECT
public:
    explicit CommandPorts(MainWindow& window);
    GameCommands& commands() { return *commands_; }

protected:
    // Files and text dropped on the main window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    MainWindow& window_;
    QtClipboard clipboard_;
    std::unique_ptr<GameCommands> commands_;
};

// Registers the game commands on the window's dispatcher (called once by the main window).
void installGameCommands(MainWindow& window);

} // namespace corvid
