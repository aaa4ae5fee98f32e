// The dialogs' questions answered by Qt's own message boxes and file pickers.
#pragma once

#include "gui/logic/user_dialogs.h"

class QWidget;

namespace corvid {

class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
    void message(const std::string& title, const std::string& text) override;
    bool askYesNo(const std::string& title, const std::string& text) override;
    std::string chooseFileToOpen(const std::string& filter,
                                 const std::string& initialName) override;
    std::string chooseFileToSave(const std::string& filter,
                                 const std::string& initialName) override;

private:
    QWidget* parent_;
};

} // namespace corvid
