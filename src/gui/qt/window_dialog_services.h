// The dialogs' questions answered by Qt's own file pickers and Yes/No question over the main
// window; message boxes and the beep go through the window's replaceable hooks.
#pragma once

#include "gui/logic/dialog_services.h"

namespace corvid {

class MainWindow;

class WindowDialogServices : public DialogServices {
public:
    explicit WindowDialogServices(MainWindow& window) : window_(window) {}
    std::string openFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    std::string saveFileName(const std::string& caption, const std::string& folder,
                             const std::string& filter) override;
    void messageBox(const std::string& title, const std::string& text) override;
    void beep() override;
    bool askYesNo(const std::string& title, const std::string& text) override;

private:
    MainWindow& window_;
};

} // namespace corvid
