// What the desktop's commands and dialogs ask of the window system besides drawing: file
// pickers, message boxes, a Yes/No question and the beep. The Qt layer gives the real ones;
// tests give their own.
#pragma once

#include <string>

namespace corvid {

class DialogServices {
public:
    virtual ~DialogServices() = default;
    // The chosen file's path, "" when the picker was cancelled. filter: "PGN Chess Game
    // (*.pgn)"; folder: where the picker opens ("" for the current folder; a file's path opens
    // at that file).
    virtual std::string openFileName(const std::string& caption, const std::string& folder,
                                     const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& caption, const std::string& folder,
                                     const std::string& filter) = 0;
    virtual void messageBox(const std::string& title, const std::string& text) = 0;
    virtual void beep() = 0;
    // A Yes/No question; true for Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text) = 0;
};

} // namespace corvid
