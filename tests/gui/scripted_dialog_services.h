// A stand-in for the person at the dialogs' message boxes, question and file pickers: answers
// come from queues the test fills, and every question is recorded.
#pragma once

#include "gui/logic/dialog_services.h"

#include <deque>
#include <string>
#include <vector>

namespace corvid::test {

class ScriptedDialogServices : public DialogServices {
public:
    std::vector<std::string> messages;  // "title|text"
    std::vector<std::string> questions; // Yes/No questions, "title|text"
    std::vector<std::string> pickers;   // "open|filter|folder" or "save|filter|folder"
    std::deque<bool> answers;           // Yes/No answers (none left: No)
    std::deque<std::string> files;      // chosen files ("" or none left: cancelled)
    int beeps = 0;

    std::string openFileName(const std::string&, const std::string& folder,
                             const std::string& filter) override {
        pickers.push_back("open|" + filter + "|" + folder);
        return next(files, std::string());
    }
    std::string saveFileName(const std::string&, const std::string& folder,
                             const std::string& filter) override {
        pickers.push_back("save|" + filter + "|" + folder);
        return next(files, std::string());
    }
    void messageBox(const std::string& title, const std::string& text) override {
        messages.push_back(title + "|" + text);
    }
    void beep() override { ++beeps; }
    bool askYesNo(const std::string& title, const std::string& text) override {
        questions.push_back(title + "|" + text);
        return next(answers, false);
    }

private:
    template <typename T> static T next(std::deque<T>& queue, T none) {
        if (queue.empty()) return none;
        T answer = queue.front();
        queue.pop_front();
        return answer;
    }
};

} // namespace corvid::test
