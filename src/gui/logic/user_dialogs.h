// The questions the desktop's dialogs put to the person: message boxes, a Yes/No question and
// the open and save file pickers. The window answers them with the toolkit's own dialogs;
// tests answer them from a script.
#pragma once

#include <string>

namespace corvid {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    virtual void message(const std::string& title, const std::string& text) = 0;
    // True for Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
    // The chosen file, or "" when the picker was cancelled. filter is "Name (*.ext)";
    // initialName the name or pattern the picker starts with.
    virtual std::string chooseFileToOpen(const std::string& filter,
                                         const std::string& initialName) = 0;
    virtual std::string chooseFileToSave(const std::string& filter,
                                         const std::string& initialName) = 0;
};

} // namespace corvid
