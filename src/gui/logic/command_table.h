// The menu bar as one table: every item's command id, caption and menu, in menu order. The
// window builds its menus from it; the dispatcher runs the action registered for an id.
#pragma once

#include <functional>
#include <map>
#include <span>

namespace corvid {

struct CommandEntry {
    int id;              // 0: a separator
    const char* caption; // with its "&" mnemonic and "\t(key)" hint as the menu shows them
    int menu;            // index into menuTitles()
    bool checkable;
};

// The menu titles, left to right; the last is "&Develop".
std::span<const char* const> menuTitles();
// Every menu item in menu order (separators included).
std::span<const CommandEntry> commandTable();
// The entry of a command id, nullptr when no menu item has it.
const CommandEntry* findCommand(int id);
// The caption without its "&" marks and its key hint ("&New Game" -> "New Game").
const char* plainCaption(const char* caption, char* buffer, int size);

// Runs the actions registered for command ids (window thread). An id without an action does
// nothing: the menu shows items whose actions come later.
class CommandDispatcher {
public:
    using Action = std::function<void(int id)>;
    // Registers the action of one id, or of every id from first to last.
    void on(int id, Action action) { on(id, id, std::move(action)); }
    void on(int first, int last, Action action);
    bool has(int id) const;
    // Runs the id's action; false when it has none.
    bool dispatch(int id) const;

private:
    std::map<int, std::pair<int, Action>> ranges_; // first id -> (last id, action)
};

} // namespace corvid
