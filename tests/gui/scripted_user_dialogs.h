// A stand-in for the person at the dialogs' message boxes and file pickers: answers come from
// queues the test fills, and every question is recorded.
#pragma once

#include "gui/logic/user_dialogs.h"

#include <deque>
#include <string>
#include <vector>

namespace corvid::test {

class ScriptedUserDialogs : public UserDialogs {
public:
    std::vector<std::string> messages;  // "title|text"
    std::vector<std::string> questions; // Yes/No questions, "title|text"
    std::vector<std::string> pickers;   // "open|filter|initial" or "save|filter|initial"
    std::deque<bool> answers;           // Yes/No answers (none left: No)
    std::deque<std::string> files;      // chosen files ("" or none left: cancelled)

    void message(const std::string& title, const std::string& text) override {
        messages.push_back(title + "|" + text);
    }
    bool askYesNo(const std::string& title, const std::string& text) override {
        questions.push_back(title + "|" + text);
        return next(answers, false);
    }
    std::string chooseFileToOpen(const std::string& filter, const std::string& initial) override {
        pickers.push_back("open|" + filter + "|" + initial);
        return next(files, std::string());
    }
    std::string chooseFileToSave(const std::string& filter, const std::string& initial) override {
        pickers.push_back("save|" + filter + "|" + initial);
        return next(files, std::string());
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
