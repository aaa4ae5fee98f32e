// The desktop's command ids: menu items, side-panel buttons and keys all arrive as one of these
// at the window's dispatcher. The numbers are the program's interface (tests and the command
// table key on them); the ids from 50000 up are this program's own additions.
#pragma once

namespace corvid::cmd {

constexpr int NewGame = 21, Exit = 24;
constexpr int EnginePlaysWhite = 40, EnginePlaysBlack = 41, TwoPlayer = 42, SelfPlay = 43;
constexpr int SetupBoard = 46, SetTimeControl = 61;
constexpr int HighlightLastMove = 71, DisplaySearchInfo = 73, UseHashTable = 74, ClearHash = 75;
constexpr int FlipBoard = 76;
constexpr int SaveClipboardFile = 101, LoadClipboardFile = 102, UndoLastPaste = 103;
constexpr int FirstDepthItem = 151, LastDepthItem = 159, Depth52 = 160;
constexpr int UserDefinedLevel = 312;
constexpr int FirstHashSize = 1234, LastHashSize = 1242; // hash size code = id - 1215
constexpr int FirstSearchSwitch = 1400, LastSearchSwitch = 1409;
constexpr int Experiment = 40001, PasteTranscript = 40004, DisplayMoveInfo = 40005;
constexpr int CopyTranscript = 40006, LoadPgn = 40009, NextPgnGame = 40010;
constexpr int AppendGame = 40011, OfferDraw = 40018, Resign = 40019, ContinueGame = 40020;
constexpr int PlayerInfo = 40023, PreviousPgnGame = 40024, Ponder = 40049, PastePosition = 40051;
constexpr int DisplayEval = 40052, SizeWindowToDefault = 40053, BookEdit = 40054;
constexpr int AnalyzeMode = 40055, ResetClock = 40057, CopyPosition = 40058;
constexpr int EvalsFromWhite = 40059, PlayPv = 40060, DisplayTtEntry = 40061, BookMode = 40063;
constexpr int AutoFlip = 40064, WinboardSettings = 40065, DefaultSettings = 40066;
constexpr int PlayNullMove = 40070, TakeBack = 40073, FirstPersonality = 40076;
constexpr int LastPersonality = 40079, AnalysisWindow = 40075, MirrorPosition = 40085;
constexpr int DisplayQSearch = 40086, TestMatch = 40087, DisplayPerft = 40088;
constexpr int NewChess960Game = 40092;

// Side-panel buttons and the move list (the ids of the panel's controls).
constexpr int MoveNowOrStart = 110; // "<|" (its id is also the move-now command)
constexpr int MoveNow = 110;        // as a command: the engine plays its move now
constexpr int GoToEnd = 104, Retract = 105, EngineMoveNow = 107, BookButton = 108;
constexpr int MoveListSelect = 109, StepBack = 125, StepForward = 126, AnalyzeButton = 1016;

// This program's own: the key actions that have no menu item, and the display preferences
// it adds.
constexpr int BookValueFirst = 50001; // keys 1..5: book values -2..2 (50001..50005)
constexpr int BookRemovePosition = 50006;
constexpr int BlackKingDetails = 50010, WhiteKingDetails = 50011;
constexpr int ShowCoordinates = 50020, ShowLegalMoves = 50021;
// The side panel's "<|" as dispatched (its control id 110 is the move-now command elsewhere).
constexpr int GoToStart = 50030;
constexpr int CopyStandardPgn = 50031; // the game as every chess program reads it
constexpr int KeyboardHelp = 50040, About = 50041;
// The analysis pane's "Copy" button.
constexpr int CopyAnalysis = 123;

// The command a side-panel button dispatches: "<|" goes to the game's start, while its control
// id 110 is the move-now command from the menu.
constexpr int panelButtonCommand(int control) {
    return control == MoveNowOrStart ? GoToStart : control;
}

} // namespace corvid::cmd
