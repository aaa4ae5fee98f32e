// The menu bar as one table: every item's command id, caption, menu and how it treats a running
// search, in menu order. The window builds its menus from it; the dispatcher runs the action
// registered for an id, stopping the search first where the table says so.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>

namespace corvid {

// How a command treats a search that is running when it is chosen.
enum class SearchUse : uint8_t {
    Leaves, // runs beside the search (display switches, copies of the shown game)
    Stops,  // stops the search and waits until it is idle first (edits or replaces the game)
    Pauses, // stops and waits first, then restarts the engine's thinking or the analysis that
            // ran (edits the table, the book or the settings, or reads the live game)
};

struct MenuInfo {
    const char* title;
    int parent; // -1: on the menu bar; else the menu that holds it as a submenu
};

struct CommandEntry {
    int id;              // 0: a separator, or a submenu when submenu >= 0
    const char* caption; // with its "&" mnemonic and "\t(key)" hint as the menu shows them
    int menu;            // index into menus()
    bool checkable;
    SearchUse search = SearchUse::Leaves;
    int submenu = -1; // for id 0: the menu shown here
};

// The menus: those on the bar left to right ("&File" ... "&Help"), then the submenus.
std::span<const MenuInfo> menus();
// Every menu item in menu order (separators and submenu places included).
std::span<const CommandEntry> commandTable();
// The entry of a command id, nullptr when no menu item has it.
const CommandEntry* findCommand(int id);
// How the command treats a running search, for menu items and for the commands without one
// (buttons, keys).
SearchUse searchUseOf(int id);
// The caption without its "&" marks and its key hint ("&New Game" -> "New Game").
const char* plainCaption(const char* caption, char* buffer, int size);

// Runs the actions registered for command ids (window thread). An id without an action does
// nothing: the menu shows items whose actions come later.
class CommandDispatcher {
public:
    using Action = std::function<void(int id)>;
    // Wraps every dispatched action: receives the command's SearchUse and runs the action.
    using Guard = std::function<void(SearchUse use, const std::function<void()>& action)>;

    // Registers the action of one id, or of every id from first to last.
    void on(int id, Action action) { on(id, id, std::move(action)); }
    void on(int first, int last, Action action);
    bool has(int id) const;
    // Runs the id's action (through the guard, when one is set); false when it has none.
    bool dispatch(int id) const;
    void setGuard(Guard guard) { guard_ = std::move(guard); }

private:
    std::map<int, std::pair<int, Action>> ranges_; // first id -> (last id, action)
    Guard guard_;
};

} // namespace corvid
