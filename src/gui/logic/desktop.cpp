#include "gui/logic/desktop.h"

#include "book/book_moves.h"
#include "chess/game_record.h"
#include "chess/move_gen.h"
#include "control/engine_name.h"
#include "control/game.h"
#include "control/missing_data_files.h"
#include "control/new_game.h"
#include "control/opponent_move.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "eval/search_personality.h"
#include "gui/logic/board_mode.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/move_list.h"
#include "platform/clock.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace corvid {

namespace {

bool sameBoard(const uint8_t* a, const uint8_t* b) { return std::memcmp(a, b, 64) == 0; }

// The legal moves of the game position from a square (window thread, game not searched on).
uint64_t targetsFrom(const Position& p, int from) {
    MoveList legal;
    GenerateLegalMoves(p, legal);
    uint64_t targets = 0;
    for (int i = 0; i < legal.count; ++i) {
        Move m = legal.moves[i];
        if (MoveFrom(m) != from) continue;
        int to = MoveTo(m);
        // Castling may be given as the king's destination or as the rook's square.
        if (IsCastling(p, m)) targets |= SquareBB(CastlingKingTarget(from, to));
        targets |= SquareBB(to);
    }
    return targets;
}

bool holdsPieceToMove(const Position& p, int square) {
    PieceCode piece = p.board[square];
    return piece != Empty && ColourOf(piece) == p.sideToMove;
}

void select(WindowState& state, int square) {
    state.selectedSquare = square;
    state.legalTargets = targetsFrom(currentGamePosition(), square);
}

void clearSelection(WindowState& state) {
    state.selectedSquare = NothingSelected;
    state.legalTargets = 0;
}

// Enters the user's move from the selected square; Refused when it is not legal.
ClickOutcome enterMove(WindowState& state, int to) {
    const Position& p = currentGamePosition();
    const int from = state.selectedSquare;
    if (!(state.legalTargets & SquareBB(to))) return ClickOutcome::Refused;
    char text[8] = {char('a' + FileOf(from)),
                    char('8' - RowOf(from)),
                    char('a' + FileOf(to)),
                    char('8' - RowOf(to)),
                    0,
                    0,
                    0,
                    0};
    bool promotion = TypeOf(p.board[from]) == Pawn && (RowOf(to) == 0 || RowOf(to) == 7);
    if (promotion) {
        int piece = reporter().promotionPiece();
        text[4] = "pnbrqk"[std::clamp(piece, int(Knight), int(Queen))];
    }
    state.selectedSquare = MoveJustEntered;
    // With the engine off nothing is asked of it (a think request would only keep it busy
    // for a moment, refusing the next click).
    const bool engineReplies =
        state.boardMode != AnalysisMode && searchInfo.humanSide.load() != EnginePlaysNeither;
    OpponentMoveResult result = enterOpponentMove(text, engineReplies);
    clearSelection(state);
    if (result == OpponentMoveResult::Illegal) return ClickOutcome::Refused;
    if (state.boardMode == AnalysisMode && result == OpponentMoveResult::Played) requestAnalysis();
    return ClickOutcome::Played;
}

} // namespace

void showGame(WindowState& state, const GameSnapshot& game) {
    if (game.moveCount == 0 && game.ply == game.startPly) {
        state.hasPrevious = false;
    } else if (!sameBoard(game.board, state.game.board)) {
        std::memcpy(state.previousBoard, state.game.board, 64);
        state.hasPrevious = true;
    }
    state.game = game;
    if (state.selectedSquare < 64) {
        PieceCode piece = game.board[state.selectedSquare];
        if (piece == Empty || ColourOf(piece) != game.sideToMove || engineBusy())
            clearSelection(state);
    }
}

bool engineBusy() {
    if (searchController.idle()) return false;
    SearchState searching = searchInfo.searchState.load();
    if (searching == SearchState::Analyzing) return false;
    return !(searching == SearchState::Pondering &&
             searchInfo.ponderState.load() == PonderState::Pondering);
}

ClickOutcome pressSquare(WindowState& state, int square) {
    if (square < 0 || square > 63) return ClickOutcome::Ignored;
    if (state.setupMode) {
        state.setupBoard[square] = setupPieceCode(state.setupButton);
        return ClickOutcome::SetupChanged;
    }
    if (engineBusy()) return ClickOutcome::Ignored;
    if (state.selectedSquare < 64 && square != state.selectedSquare) {
        ClickOutcome outcome = enterMove(state, square);
        if (outcome == ClickOutcome::Played) return outcome;
    }
    if (holdsPieceToMove(currentGamePosition(), square)) {
        select(state, square);
        return ClickOutcome::Selected;
    }
    return ClickOutcome::Refused;
}

ClickOutcome releaseSquare(WindowState& state, int square) {
    if (square < 0 || square > 63 || state.setupMode) return ClickOutcome::Ignored;
    if (state.selectedSquare > 65 || square == state.selectedSquare) return ClickOutcome::Ignored;
    if (engineBusy()) return ClickOutcome::Ignored;
    return enterMove(state, square);
}

ClickOutcome rightClickSquare(WindowState& state, int square,
                              const std::function<void(int)>& squareDetails) {
    if (square < 0 || square > 63) return ClickOutcome::Ignored;
    if (state.setupMode) {
        state.setupBoard[square] = Empty;
        return ClickOutcome::SetupChanged;
    }
    if (squareDetails && !engineBusy()) squareDetails(square);
    return ClickOutcome::Ignored;
}

ClickOutcome setupDrag(WindowState& state, int square, bool left, bool right) {
    if (!state.setupMode || square < 0 || square > 63) return ClickOutcome::Ignored;
    PieceCode piece = setupPieceCode(state.setupButton);
    if (right) {
        state.setupBoard[square] = Empty;
    } else if (left && TypeOf(piece) == Pawn) {
        state.setupBoard[square] = piece;
    } else {
        return ClickOutcome::Ignored;
    }
    return ClickOutcome::SetupChanged;
}

int pressKey(WindowState& state, char key, bool control, const CommandDispatcher& dispatcher) {
    if (engineBusy()) return 0;
    if (state.setupMode) {
        if (!control && isSetupKey(key)) {
            state.setupButton = setupButtonAfterKey(state.setupButton, key);
            return 0;
        }
        return 0;
    }
    int id = commandForKey(key, control);
    if (id) dispatcher.dispatch(id);
    return id;
}

void refreshNamesAndOrientation(WindowState& state) {
    const int human = searchInfo.humanSide.load();
    const std::string engine = "Corvid", person = preferences.playerName;
    state.whiteName = human == HumanBlack || human == EnginePlaysBoth ? engine : person;
    state.blackName = human == HumanWhite || human == EnginePlaysBoth ? engine : person;
    if (preferences.autoFlip) {
        if (human == HumanWhite) state.flipped = false;
        if (human == HumanBlack) state.flipped = true;
    }
}

void resetWindowForNewGame(WindowState& state) {
    leaveBoardMode(state);
    clearSelection(state);
    state.setupMode = false;
    state.flagFallNotice = false;
    state.hasPrevious = false;
    refreshNamesAndOrientation(state);
}

void startFirstGame(WindowState& state) {
    state.game = GameSnapshot();
    resetWindowForNewGame(state);
    newGame(true, false, nullptr);
    // The window shows status texts from now on: the data files the engine found nowhere.
    reportMissingDataFiles();
}

bool analysisPaneWanted() { return searchInfo.showSearchInfo.load(); }

bool clocksHighlighted() {
    return searchInfo.clocksRunning.load() && searchInfo.gameResult.load() == GameRunning;
}

void startNewGame(WindowState& state) {
    resetWindowForNewGame(state);
    newGame(true, true, nullptr);
    requestThink();
}

void setHumanSide(WindowState& state, int human) {
    leaveBoardMode(state); // choosing who plays is for play
    searchInfo.humanSide.store(human);
    refreshNamesAndOrientation(state);
    if (human == EnginePlaysNeither || human == EnginePlaysBoth)
        searchInfo.gameResult.store(GameRunning);
    if (human == EnginePlaysNeither) return;
    // The side to move is read only once the search thread has left the game.
    if (engineBusy()) stopSearch();
    if (human == currentGamePosition().sideToMove) return;
    stopSearch();
    if (!searchInfo.clocksRunning.load()) {
        searchInfo.whiteClock.store(0);
        searchInfo.blackClock.store(0);
        searchInfo.clockStart.store(millisecondClock());
        state.flagFallNotice = false;
    }
    requestThink();
}

void toggleSetupMode(WindowState& state) {
    if (state.setupMode) {
        state.setupMode = false;
        return;
    }
    searchController.requestStop(StopRequest::Abort);
    state.setupMode = true;
    clearSelection(state);
    std::memcpy(state.setupBoard, state.game.board, 64);
    reporter().statusText("Board Setup Mode\n\n\nLeft Click : add piece\nRight Click: remove "
                          "piece\n\nw a s d : piece shortcuts");
}

void goToPly(WindowState& state, int ply) {
    stopSearch();
    clearSelection(state);
    GoToPly(gameRecord, gamePosition, std::clamp(ply, 0, std::max(gameRecord.moveCount, 0)));
    // The window shows the new position at once (the next command reads it); the report
    // tells the other listeners.
    showGame(state, takeGameSnapshot());
    reporter().boardChanged();
}

void goToMoveListEntry(WindowState& state, int entry) {
    goToPly(state, plyOfEntry(state.game, entry));
}

ClockTick clockTick(WindowState& state) {
    ClockInputs in;
    in.halfMoves = state.game.moveCount;
    in.whiteUsedCs = searchInfo.whiteClock.load();
    in.blackUsedCs = searchInfo.blackClock.load();
    in.runningCs = (millisecondClock() - searchInfo.clockStart.load()) / 10;
    in.baseMinutes = searchInfo.baseMinutes.load();
    in.incrementSeconds = searchInfo.incrementSeconds.load();
    in.clocksRunning = searchInfo.clocksRunning.load();
    ClockTick tick;
    tick.reading = readClocks(in);
    if (searchInfo.gameResult.load() != GameRunning || state.flagFallNotice) return tick;
    FlagFall fall = flagFall(tick.reading, in, searchInfo.humanSide.load());
    if (fall.result == GameRunning) return tick;
    state.flagFallNotice = true;
    searchInfo.gameResult.store(fall.result);
    if (searchInfo.searchState.load() == SearchState::Pondering) stopSearch();
    tick.notice = fall.text;
    return tick;
}

std::string gameWindowTitle(const WindowState& state) {
    std::string title = engineName() + " - " + state.whiteName + " vs " + state.blackName;
    switch (searchInfo.gameResult.load()) {
    case GameWhiteWon:
        return title + " (1-0)";
    case GameBlackWon:
        return title + " (0-1)";
    case GameDrawn:
        return title + " (1/2-1/2)";
    default:
        return title;
    }
}

namespace {
bool guiPreference(const char* key) {
    return !GuiSettings.contains(key) || readBool(GuiSettings, key);
}
constexpr const char* CoordinatesKey = "ShowCoordinates";
constexpr const char* LegalMovesKey = "ShowLegalMoves";
} // namespace

bool highlightLastMove() { return preferences.highlightLastMove != 0; }
bool showCoordinates() { return guiPreference(CoordinatesKey); }
bool showLegalMoves() { return guiPreference(LegalMovesKey); }

bool commandChecked(int id, const WindowState& state) {
    const int human = searchInfo.humanSide.load();
    const int depth = searchInfo.maxDepth.load();
    if (id >= cmd::FirstDepthItem && id <= cmd::LastDepthItem)
        return !state.userDefinedLevel && depth == id - 150;
    if (id >= cmd::FirstHashSize && id <= cmd::LastHashSize)
        return preferences.hashSizeCode == id - 1215;
    if (id >= cmd::FirstSearchSwitch && id <= cmd::LastSearchSwitch)
        return activePersonality.switches.*SearchSwitchTable[id - cmd::FirstSearchSwitch].flag;
    switch (id) {
    case cmd::EnginePlaysWhite:
        return human == HumanBlack;
    case cmd::EnginePlaysBlack:
        return human == HumanWhite;
    case cmd::TwoPlayer:
        return human == EnginePlaysNeither;
    case cmd::SelfPlay:
        return human == EnginePlaysBoth;
    case cmd::SetupBoard:
        return state.setupMode;
    case cmd::HighlightLastMove:
        return preferences.highlightLastMove != 0;
    case cmd::DisplaySearchInfo:
        return searchInfo.showSearchInfo.load();
    case cmd::UseHashTable:
        return transpositionTable.useHashTable.load();
    case cmd::FlipBoard:
        return state.flipped;
    case cmd::Depth52:
        return !state.userDefinedLevel && depth == 52;
    case cmd::UserDefinedLevel:
        return state.userDefinedLevel || (depth != 52 && (depth < 1 || depth > 9));
    case cmd::Ponder:
        return searchInfo.ponderEnabled.load();
    case cmd::EvalsFromWhite:
        return searchInfo.evalsFromWhitePov.load();
    case cmd::AutoFlip:
        return preferences.autoFlip != 0;
    case cmd::Experiment:
        return activePersonality.experiment;
    case cmd::ShowCoordinates:
        return showCoordinates();
    case cmd::ShowLegalMoves:
        return showLegalMoves();
    default:
        return false;
    }
}

std::vector<std::pair<int, int>> bookMoveSquares() {
    std::vector<std::pair<int, int>> squares;
    if (!searchController.idle()) return squares;
    BookMoveList list;
    BookMoves(currentBook(), currentGamePosition(), gameKeyHistory(), list);
    for (int i = 0; i < list.count; ++i)
        squares.emplace_back(MoveFrom(list.moves[i]), MoveTo(list.moves[i]));
    return squares;
}

int bookMoveColourSlot(int i) { return i <= 0 ? 0 : (i - 1) % 8 + 1; }

void registerWindowCommands(CommandDispatcher& d, WindowState& state,
                            std::function<void()> exitAction) {
    d.on(cmd::NewGame, [&state](int) { startNewGame(state); });
    d.on(cmd::Exit, [exitAction](int) {
        if (exitAction) exitAction();
    });
    d.on(cmd::EnginePlaysWhite, cmd::SelfPlay, [&state](int id) {
        constexpr int sides[] = {HumanBlack, HumanWhite, EnginePlaysNeither, EnginePlaysBoth};
        setHumanSide(state, sides[id - cmd::EnginePlaysWhite]);
    });
    d.on(cmd::SetupBoard, [&state](int) { toggleSetupMode(state); });
    d.on(cmd::FlipBoard, [&state](int) { state.flipped = !state.flipped; });
    d.on(cmd::HighlightLastMove,
         [](int) { preferences.highlightLastMove = !preferences.highlightLastMove; });
    d.on(cmd::AutoFlip, [&state](int) {
        preferences.autoFlip = !preferences.autoFlip;
        if (preferences.autoFlip) refreshNamesAndOrientation(state);
    });
    d.on(cmd::ShowCoordinates,
         [](int) { setBool(GuiSettings, CoordinatesKey, !showCoordinates()); });
    d.on(cmd::ShowLegalMoves, [](int) { setBool(GuiSettings, LegalMovesKey, !showLegalMoves()); });
    d.on(cmd::StepBack, [&state](int) { goToPly(state, state.game.ply - 1); });
    d.on(cmd::StepForward, [&state](int) { goToPly(state, state.game.ply + 1); });
    d.on(cmd::GoToEnd, [&state](int) { goToPly(state, MaxGamePly); });
    d.on(cmd::GoToStart, [&state](int) { goToPly(state, state.game.startPly); });
    d.on(cmd::Retract, [&state](int) { retract(state); });
    d.on(cmd::EngineMoveNow, [&state](int) { engineMovesNow(state); });
}

void retract(WindowState& state) {
    stopSearch();
    const int ply = currentGamePosition().ply;
    const int human = searchInfo.humanSide.load();
    // The side that moved last is the engine's: take its move and the user's before it.
    const int lastMover = (ply - 1) & 1;
    const bool engineMovedLast = human != EnginePlaysNeither && lastMover != human;
    goToPly(state, ply - (engineMovedLast ? 2 : 1));
}

void engineMovesNow(WindowState& state) {
    stopSearch();
    if (searchInfo.gameResult.load() != GameRunning) return;
    if (searchInfo.humanSide.load() != EnginePlaysBoth)
        searchInfo.humanSide.store(currentGamePosition().sideToMove ^ 1);
    refreshNamesAndOrientation(state);
    requestThink();
}

void leaveWithoutExit() { stopSearch(); }

bool shutDownDesktop(const std::string& startDirectory) {
    endSearchThread();
    if (!startDirectory.empty() && chdir(startDirectory.c_str()) != 0) {
        // The files then go to the current folder.
    }
    preferences.ponderEnabled = searchInfo.ponderEnabled.load() ? 1 : 0;
    preferences.showSearchInfo = searchInfo.showSearchInfo.load() ? 1 : 0;
    preferences.evalsFromWhitePov = searchInfo.evalsFromWhitePov.load() ? 1 : 0;
    preferences.baseMinutes = int(searchInfo.baseMinutes.load());
    preferences.incrementSeconds = int(searchInfo.incrementSeconds.load());
    bool saved = savePreferences(preferences, "Corvid.dft");
    saved = saveSettingsFile(WinBoardSettings, "engineWB.dft") && saved;
    saved = saveSettingsFile(GuiSettings, "engineGUI.dft") && saved;
    return saved;
}

} // namespace corvid
