#include "gui/logic/command_table.h"

#include "gui/logic/command_ids.h"

namespace corvid {

namespace {

constexpr const char* Titles[] = {"&File", "&Edit",    "&Game",        "&Level",  "&Options",
                                  "&Hash", "&Display", "&Personality", "&Develop"};
enum Menu { File, Edit, Game, Level, Options, Hash, Display, Personality, Develop };

// The search switches of the Develop menu follow the table (their captions come from the
// search personality); the hash sizes run 6 MB to 1.5 GB.
constexpr CommandEntry Table[] = {
    {cmd::NewGame, "&New Game", File, false},
    {cmd::NewChess960Game, "New Chess960 Game", File, false},
    {0, "", File, false},
    {cmd::LoadPgn, "&Load PGN", File, false},
    {cmd::NextPgnGame, "Next &Game in PGN file \t(L)", File, false},
    {cmd::PreviousPgnGame, "Previous &Game in PGN file \t(K)", File, false},
    {cmd::AppendGame, "&Append (Save) Game to File", File, false},
    {0, "", File, false},
    {cmd::Exit, "E&xit", File, false},

    {cmd::CopyTranscript, "Copy Transcript (pgn) \t(ctrl+c)", Edit, false},
    {cmd::PasteTranscript, "Paste &Transcript (pgn)\t(ctrl+v)", Edit, false},
    {cmd::CopyPosition, "Copy Position (fen)\t(c)", Edit, false},
    {cmd::PastePosition, "Paste P&osition (fen)\t(v)", Edit, false},
    {cmd::UndoLastPaste, "&Undo Last Paste\t(ctrl+z)", Edit, false},
    {0, "", Edit, false},
    {cmd::SetupBoard, "Set&up Board \t(s)", Edit, true},

    {cmd::EnginePlaysWhite, "Engine Plays &White", Game, true},
    {cmd::EnginePlaysBlack, "Engine Plays &Black", Game, true},
    {cmd::TwoPlayer, "&2 Player (Engine Off)", Game, true},
    {cmd::SelfPlay, "Start &Engine Selfplay", Game, true},
    {0, "", Game, false},
    {cmd::OfferDraw, "Offer/Accept &Draw", Game, false},
    {cmd::Resign, "&Resign", Game, false},
    {cmd::ContinueGame, "&Continue Game", Game, false},
    {cmd::TakeBack, "&Take Back", Game, false},
    {0, "", Game, false},
    {cmd::ResetClock, "&Reset Clock", Game, false},
    {cmd::PlayPv, "Play PV", Game, false},
    {cmd::PlayNullMove, "Play Null Move", Game, false},

    {151, "&1 ply ", Level, true},
    {152, "&2 ply", Level, true},
    {153, "&3 ply", Level, true},
    {154, "&4 ply", Level, true},
    {155, "&5 ply", Level, true},
    {156, "&6 ply", Level, true},
    {157, "&7 ply", Level, true},
    {158, "&8 ply", Level, true},
    {159, "&9 ply", Level, true},
    {cmd::Depth52, "&52 ply", Level, true},
    {0, "", Level, false},
    {cmd::UserDefinedLevel, "User Defined Level", Level, true},
    {cmd::SetTimeControl, "Set Time Control", Level, false},

    {cmd::Ponder, "&Ponder Next Move", Options, true},
    {cmd::PlayerInfo, "Player Info", Options, false},
    {cmd::DefaultSettings, "Default Settings", Options, false},
    {cmd::WinboardSettings, "Winboard Settings", Options, false},
    {cmd::BookEdit, "Book Edit", Options, false},

    {cmd::UseHashTable, "&Use Hash Table", Hash, true},
    {cmd::ClearHash, "Clear Hash \t(h)", Hash, false},
    {0, "", Hash, false},
    {1234, "6 MB", Hash, true},
    {1235, "12 MB", Hash, true},
    {1236, "24 MB", Hash, true},
    {1237, "48 MB", Hash, true},
    {1238, "96 MB", Hash, true},
    {1239, "192 MB", Hash, true},
    {1240, "384 MB", Hash, true},
    {1241, "768 MB", Hash, true},
    {1242, "1.5 GB", Hash, true},

    {cmd::FlipBoard, "&Flip Board", Display, true},
    {cmd::AutoFlip, "&Auto Flip On", Display, true},
    {cmd::HighlightLastMove, "&Highlight Last Move", Display, true},
    {cmd::ShowCoordinates, "Show &Coordinates", Display, true},
    {cmd::ShowLegalMoves, "Show &Legal Moves", Display, true},
    {0, "", Display, false},
    {cmd::DisplaySearchInfo, "Display Search &Info", Display, true},
    {cmd::EvalsFromWhite, "Give Evals from &White's POV", Display, true},
    {cmd::AnalysisWindow, "Ana&lysis Window Toggle", Display, false},
    {0, "", Display, false},
    {cmd::SizeWindowToDefault, "&Size Window to Default", Display, false},

    {40076, "Personality &1", Personality, false},
    {40077, "Personality &2", Personality, false},
    {40078, "Personality &3", Personality, false},
    {40079, "Personality &4", Personality, false},

    {cmd::Experiment, "Experiment", Develop, true},
    {cmd::DisplayMoveInfo, "Display Move Info \t(f)", Develop, false},
    {cmd::DisplayEval, "Display Eval \t(e)", Develop, false},
    {cmd::DisplayQSearch, "Display Q-Search\t(q)", Develop, false},
    {cmd::DisplayTtEntry, "Display TT Entry \t(t)", Develop, false},
    {cmd::DisplayPerft, "Display Perft", Develop, false},
    {cmd::MirrorPosition, "Flip Board", Develop, false},
    {0, "", Develop, false},
    {1400, "Null Move Pruning", Develop, true},
    {1401, "Late Move Reductions", Develop, true},
    {1402, "Late Move Pruning", Develop, true},
    {1403, "Futility Pruning", Develop, true},
    {1404, "ProbCut Pruning", Develop, true},
    {1405, "Threat Move Detection", Develop, true},
    {1406, "Singular Extenstion", Develop, true},
    {1407, "Extensions", Develop, true},
    {1408, "Q-Search Checks", Develop, true},
    {1409, "Mate Threats", Develop, true},
};

} // namespace

std::span<const char* const> menuTitles() { return Titles; }

std::span<const CommandEntry> commandTable() { return Table; }

const CommandEntry* findCommand(int id) {
    if (id == 0) return nullptr;
    for (const CommandEntry& entry : Table)
        if (entry.id == id) return &entry;
    return nullptr;
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
    it->second.second(id);
    return true;
}

} // namespace corvid
