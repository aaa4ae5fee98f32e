#include "chess/types.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/command_table.h"
#include "gui/logic/key_table.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace corvid {

TEST(KeyTable, EveryShortcut) {
    struct Key {
        char key;
        bool control;
        int command;
    };
    const Key keys[] = {
        {'1', false, cmd::BookValueFirst},
        {'5', false, cmd::BookValueFirst + 4},
        {'6', false, cmd::BookRemovePosition},
        {'A', false, cmd::BlackKingDetails},
        {'Z', false, cmd::WhiteKingDetails},
        {'Z', true, 103},
        {'C', false, 40058},
        {'C', true, 40006},
        {'V', false, 40051},
        {'V', true, 40004},
        {'E', false, 40052},
        {'F', false, 40005},
        {'H', false, 75},
        {'K', false, 40024},
        {'L', false, 40010},
        {'Q', false, 40086},
        {'S', false, 46},
        {'T', false, 40061},
        {'X', false, 40001},
        {'q', false, 40086},
        {'B', false, 0},
        {'7', false, 0},
        {'E', true, 40052}, // Control adds nothing where the key has no second meaning
    };
    for (const Key& k : keys) EXPECT_EQ(commandForKey(k.key, k.control), k.command) << k.key;
    for (int digit = 0; digit < 5; ++digit)
        EXPECT_EQ(commandForKey(char('1' + digit), false), cmd::BookValueFirst + digit);
}

TEST(KeyTable, SetupShortcutsWalkThePieceButtons) {
    EXPECT_EQ(setupButtonAfterKey(135, 'W'), 134);
    EXPECT_EQ(setupButtonAfterKey(130, 'W'), 130); // not before the first
    EXPECT_EQ(setupButtonAfterKey(135, 'S'), 136);
    EXPECT_EQ(setupButtonAfterKey(141, 's'), 141); // not after the last
    EXPECT_EQ(setupButtonAfterKey(139, 'A'), 133); // white bishop
    EXPECT_EQ(setupButtonAfterKey(133, 'D'), 139); // black bishop
    EXPECT_EQ(setupButtonAfterKey(131, 'D'), 137);
    EXPECT_TRUE(isSetupKey('w') && isSetupKey('D') && !isSetupKey('E'));
    EXPECT_EQ(setupPieceCode(130), MakePiece(White, King));
    EXPECT_EQ(setupPieceCode(135), MakePiece(White, Pawn));
    EXPECT_EQ(setupPieceCode(141), MakePiece(Black, Pawn));
    EXPECT_EQ(setupPieceCode(9), MakePiece(White, King)); // none selected: the first
}

TEST(CommandTable, MenusHoldEveryCommandOnce) {
    // The menu bar as desktop programs have it; the submenus hang in the Engine menu.
    std::vector<std::string> bar;
    for (const MenuInfo& m : menus())
        if (m.parent < 0) bar.push_back(m.title);
    EXPECT_EQ(bar, (std::vector<std::string>{"&File", "&Game", "&Engine", "&Options", "&View",
                                             "&Develop", "&Help"}));
    std::set<int> ids, placed;
    for (const CommandEntry& e : commandTable()) {
        EXPECT_LT(e.menu, int(menus().size()));
        if (e.submenu >= 0) {
            EXPECT_TRUE(placed.insert(e.submenu).second) << e.submenu;
        }
        if (e.id == 0) continue;
        EXPECT_TRUE(ids.insert(e.id).second) << "twice: " << e.id;
        EXPECT_EQ(findCommand(e.id), &e);
    }
    for (size_t m = 0; m < menus().size(); ++m)
        EXPECT_EQ(menus()[m].parent >= 0, placed.count(int(m)) == 1) << menus()[m].title;
    for (int id :
         {21,    24,    40,    41,    42,    43,    46,    61,    71,    73,    74,    75,
          76,    103,   151,   159,   160,   312,   1234,  1242,  1400,  1409,  40001, 40004,
          40005, 40006, 40009, 40010, 40011, 40018, 40019, 40020, 40023, 40024, 40049, 40051,
          40052, 40053, 40054, 40057, 40058, 40059, 40060, 40061, 40064, 40065, 40066, 40070,
          40073, 40075, 40076, 40079, 40085, 40086, 40088, 40092})
        EXPECT_TRUE(ids.count(id)) << id;
    EXPECT_STREQ(findCommand(1237)->caption, "48 MB");
    EXPECT_STREQ(findCommand(1406)->caption, "Singular Extenstion");
    EXPECT_EQ(findCommand(0), nullptr);
    EXPECT_EQ(findCommand(99999), nullptr);
    char buffer[64];
    EXPECT_STREQ(plainCaption("Clear Hash \t(h)", buffer, sizeof buffer), "Clear Hash");
    EXPECT_STREQ(plainCaption("E&xit", buffer, sizeof buffer), "Exit");
}

TEST(CommandTable, DispatchByIdAndRange) {
    CommandDispatcher d;
    std::string log;
    d.on(21, [&](int id) {
        log += 'n';
        log += std::to_string(id);
    });
    d.on(151, 160, [&](int id) {
        log += 'd';
        log += std::to_string(id);
    });
    EXPECT_TRUE(d.dispatch(21));
    EXPECT_TRUE(d.dispatch(151));
    EXPECT_TRUE(d.dispatch(160));
    EXPECT_FALSE(d.dispatch(161));
    EXPECT_FALSE(d.dispatch(150));
    EXPECT_FALSE(d.dispatch(22));
    EXPECT_EQ(log, "n21d151d160");
    d.on(21, [&](int) { log += "!"; }); // a later registration replaces the earlier
    d.dispatch(21);
    EXPECT_EQ(log, "n21d151d160!");
    EXPECT_TRUE(d.has(155));
    EXPECT_FALSE(d.has(24));
}

} // namespace corvid
