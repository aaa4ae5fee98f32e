#include "gui/logic/command_table.h"

#include "gui/logic/command_ids.h"

namespace corvid {

namespace {

enum Menu { File, Game, Engine, Options, View, Develop, Help, Level, HashTable, Personality };
constexpr MenuInfo Menus[] = {
    {"&File", -1},           {"&Game", -1},
    {"&Engine", -1},         {"&Options", -1},
    {"&View", -1},           {"&Develop", -1},
    {"&Help", -1},           {"&Level", Engine},
    {"&Hash Table", Engine}, {"&Personality", Engine},
};

constexpr SearchUse L = SearchUse::Leaves, S = SearchUse::Stops, P = SearchUse::Pauses;

// The search switches of the Develop menu follow the table (their captions come from the
// search personality); the hash sizes run 6 MB to 1.5 GB.
constexpr CommandEntry Table[] = {
    {cmd::NewGame, "&New Game", File, false, S},
    {cmd::NewChess960Game, "New Chess960 Game", File, false, S},
    {0, "", File, false},
    {cmd::LoadPgn, "&Load PGN", File, false, S},
    {cmd::NextPgnGame, "Next &Game in PGN file \t(L)", File, false, S},
    {cmd::PreviousPgnGame, "Previous &Game in PGN file \t(K)", File, false, S},
    {cmd::AppendGame, "&Append (Save) Game to File", File, false, P},
    {0, "", File, false},
    {cmd::CopyTranscript, "Copy Transcript (pgn) \t(ctrl+c)", File, false, L},
    {cmd::CopyStandardPgn, "Copy Game (standard PGN)", File, false, L},
    {cmd::CopyPosition, "Copy Position (fen)\t(c)", File, false, L},
    {cmd::PasteTranscript, "Paste &Transcript (pgn)\t(ctrl+v)", File, false, S},
    {cmd::PastePosition, "Paste P&osition (fen)\t(v)", File, false, S},
    {cmd::UndoLastPaste, "&Undo Last Paste\t(ctrl+z)", File, false, S},
    {0, "", File, false},
    {cmd::Exit, "E&xit", File, false},

    {cmd::EnginePlaysWhite, "Engine Plays &White", Game, true, S},
    {cmd::EnginePlaysBlack, "Engine Plays &Black", Game, true, S},
    {cmd::TwoPlayer, "&2 Player (Engine Off)", Game, true, S},
    {cmd::SelfPlay, "Start &Engine Selfplay", Game, true, S},
    {0, "", Game, false},
    {cmd::OfferDraw, "Offer/Accept &Draw", Game, false, P},
    {cmd::Resign, "&Resign", Game, false, P},
    {cmd::ContinueGame, "&Continue Game", Game, false},
    {cmd::TakeBack, "&Take Back", Game, false},
    {0, "", Game, false},
    {cmd::SetupBoard, "Set&up Board \t(s)", Game, true, S},
    {cmd::ResetClock, "&Reset Clock", Game, false},

    {cmd::MoveNow, "&Move Now", Engine, false},
    {cmd::PlayPv, "Play PV", Engine, false, S},
    {0, "", Engine, false},
    {cmd::Ponder, "&Ponder Next Move", Engine, true},
    {0, "", Engine, false},
    {0, "", Engine, false, L, Level},
    {0, "", Engine, false, L, HashTable},
    {0, "", Engine, false, L, Personality},

    {151, "&1 ply ", Level, true, P},
    {152, "&2 ply", Level, true, P},
    {153, "&3 ply", Level, true, P},
    {154, "&4 ply", Level, true, P},
    {155, "&5 ply", Level, true, P},
    {156, "&6 ply", Level, true, P},
    {157, "&7 ply", Level, true, P},
    {158, "&8 ply", Level, true, P},
    {159, "&9 ply", Level, true, P},
    {cmd::Depth52, "&52 ply", Level, true, P},
    {0, "", Level, false},
    {cmd::UserDefinedLevel, "User Defined Level", Level, true, P},
    {cmd::SetTimeControl, "Set Time Control", Level, false, P},

    {cmd::UseHashTable, "&Use Hash Table", HashTable, true},
    {cmd::ClearHash, "Clear Hash \t(h)", HashTable, false, P},
    {0, "", HashTable, false},
    {1234, "6 MB", HashTable, true, P},
    {1235, "12 MB", HashTable, true, P},
    {1236, "24 MB", HashTable, true, P},
    {1237, "48 MB", HashTable, true, P},
    {1238, "96 MB", HashTable, true, P},
    {1239, "192 MB", HashTable, true, P},
    {1240, "384 MB", HashTable, true, P},
    {1241, "768 MB", HashTable, true, P},
    {1242, "1.5 GB", HashTable, true, P},

    {40076, "Personality &1", Personality, false},
    {40077, "Personality &2", Personality, false},
    {40078, "Personality &3", Personality, false},
    {40079, "Personality &4", Personality, false},

    {cmd::PlayerInfo, "Player Info", Options, false},
    {cmd::DefaultSettings, "Default Settings", Options, false, P},
    {cmd::WinboardSettings, "Winboard Settings", Options, false, P},
    {cmd::BookEdit, "Book Edit", Options, false, P},

    {cmd::FlipBoard, "&Flip Board", View, true},
    {cmd::AutoFlip, "&Auto Flip On", View, true},
    {cmd::HighlightLastMove, "&Highlight Last Move", View, true},
    {cmd::ShowCoordinates, "Show &Coordinates", View, true},
    {cmd::ShowLegalMoves, "Show &Legal Moves", View, true},
    {0, "", View, false},
    {cmd::DisplaySearchInfo, "Display Search &Info", View, true},
    {cmd::EvalsFromWhite, "Give Evals from &White's POV", View, true},
    {cmd::AnalysisWindow, "Ana&lysis Window Toggle", View, false},
    {0, "", View, false},
    {cmd::SizeWindowToDefault, "&Size Window to Default", View, false},

    {cmd::Experiment, "Experiment", Develop, true, P},
    {cmd::DisplayMoveInfo, "Display Move Info \t(f)", Develop, false, P},
    {cmd::DisplayEval, "Display Eval \t(e)", Develop, false, P},
    {cmd::DisplayQSearch, "Display Q-Search\t(q)", Develop, false, P},
    {cmd::DisplayTtEntry, "Display TT Entry \t(t)", Develop, false, P},
    {cmd::DisplayPerft, "Display Perft", Develop, false, P},
    {cmd::MirrorPosition, "Flip Board", Develop, false, S},
    {cmd::PlayNullMove, "Play Null Move", Develop, false, S},
    {0, "", Develop, false},
    {1400, "Null Move Pruning", Develop, true, P},
    {1401, "Late Move Reductions", Develop, true, P},
    {1402, "Late Move Pruning", Develop, true, P},
    {1403, "Futility Pruning", Develop, true, P},
    {1404, "ProbCut Pruning", Develop, true, P},
    {1405, "Threat Move Detection", Develop, true, P},
    {1406, "Singular Extenstion", Develop, true, P},
    {1407, "Extensions", Develop, true, P},
    {1408, "Q-Search Checks", Develop, true, P},
    {1409, "Mate Threats", Develop, true, P},

    {cmd::KeyboardHelp, "&Keyboard Shortcuts", Help, false},
    {cmd::About, "&About Corvid", Help, false},
};

// Commands without a menu item that touch the game, the book or the live position.
struct ButtonUse {
    int first, last;
    SearchUse search;
};
constexpr ButtonUse Buttons[] = {
    {cmd::SaveClipboardFile, cmd::SaveClipboardFile, P},
    {cmd::LoadClipboardFile, cmd::LoadClipboardFile, S},
    {cmd::GoToEnd, cmd::Retract, S},
    {cmd::EngineMoveNow, cmd::EngineMoveNow, S},
    {cmd::MoveListSelect, cmd::MoveListSelect, S},
    {cmd::StepBack, cmd::StepForward, S},
    {cmd::GoToStart, cmd::GoToStart, S},
    {cmd::BookValueFirst, cmd::BookRemovePosition, P},
    {cmd::BlackKingDetails, cmd::WhiteKingDetails, P},
};

} // namespace

std::span<const MenuInfo> menus() { return Menus; }

std::span<const CommandEntry> commandTable() { return Table; }

const CommandEntry* findCommand(int id) {
    if (id == 0) return nullptr;
    for (const CommandEntry& entry : Table)
        if (entry.id == id) return &entry;
    return nullptr;
}

SearchUse searchUseOf(int id) {
    if (const CommandEntry* entry = findCommand(id)) return entry->search;
    for (const ButtonUse& b : Buttons)
        if (id >= b.first && id <= b.last) return b.search;
    return SearchUse::Leaves;
}

const char* plainCaption(const char* caption, char* buffer, int size) {
    int length = 0;
    for (const char* c = caption; *c && *c != '\t' && length + 1 < size; ++c)
        if (*c != '&') buffer[length++] = *c;
    while (length > 0 && buffer[length - 1] == ' ') --length;
    if (size > 0) buffer[length] = '\0';
    return buffer;
}

void CommandDispatcher::on(int first, int last, Action action) {
    ranges_[first] = {last, std::move(action)};
}

bool CommandDispatcher::has(int id) const {
    auto it = ranges_.upper_bound(id);
    if (it == ranges_.begin()) return false;
    --it;
    return id <= it->second.first;
}

bool CommandDispatcher::dispatch(int id) const {
    auto it = ranges_.upper_bound(id);
    if (it == ranges_.begin()) return false;
    --it;
    if (id > it->second.first) return false;
    // A copy: the action may register commands anew while it runs.
    const Action action = it->second.second;
    if (guard_)
        guard_(searchUseOf(id), [&action, id] { action(id); });
    else
        action(id);
    return true;
}

} // namespace corvid
