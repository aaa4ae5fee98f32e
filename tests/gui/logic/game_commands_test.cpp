// The game, file, clipboard and engine commands without a window: every command reaches an
// action, the check marks follow, the search is stopped (and resumed) as the table says, and
// the rules of PGN browsing, pasting, Play PV, the null move and the colour mirror.
#include "chess/fen.h"
#include "chess/game_record.h"
#include "chess/perft.h"
#include "control/game.h"
#include "control/game_end.h"
#include "control/preferences.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "gui/logic/board_mode.h"
#include "gui/logic/clipboard_exchange.h"
#include "gui/logic/command_ids.h"
#include "gui/logic/desktop.h"
#include "gui/logic/engine_commands.h"
#include "gui/logic/game_command_set.h"
#include "gui/logic/game_commands.h"
#include "gui/scripted_dialog_services.h"
#include "platform/engine_reporter.h"
#include "search/search_info.h"
#include "search/transposition_table.h"
#include "startup/engine_init.h"
#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace corvid {
namespace {

// The engine with its search thread, once for the program.
class EngineEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        setBookPath(ActiveSettings, "no-book-in-tests.obk");
        initEngine(MinHashSizeCode);
    }
    void TearDown() override { endSearchThread(); }
};
::testing::Environment* const engine = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

struct FakeClipboard : ClipboardPort {
    std::string text;
    ClipboardWrite answer = ClipboardWrite::Done;
    ClipboardWrite writeText(const std::string& t) override {
        if (answer == ClipboardWrite::Done) text = t;
        return answer;
    }
    bool readText(std::string& t) override {
        t = text;
        return !text.empty();
    }
};

struct StatusRecorder : EngineReporter {
    std::vector<std::string> texts;
    void statusText(const char* text) override { texts.push_back(text); }
    std::string last() const { return texts.empty() ? "" : texts.back(); }
};

constexpr Move MoveOf(int from, int to) { return Move(from | (to << 6)); }
constexpr int e2 = 52, e4 = 36, e7 = 12, e5 = 28, g1 = 62, f3 = 45, d2 = 51, d4 = 35;

class GameCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        stopSearch();
        searchInfo.humanSide.store(EnginePlaysNeither);
        searchInfo.maxDepth.store(3);
        searchInfo.fixedMoveSeconds.store(0);
        searchInfo.gameResult.store(GameRunning);
        searchInfo.ponderEnabled.store(false);
        setReporter(&status);
        char pattern[] = "/tmp/corvid_commands_XXXXXX";
        folder = mkdtemp(pattern);
        startFen(StartFen);
        commands = std::make_unique<GameCommands>(
            state, clipboard, [this]() -> DialogServices& { return dialogs; }, folder);
        registerWindowCommands(dispatcher, state, {});
        registerGameCommands(dispatcher, *commands);
    }
    void TearDown() override {
        stopSearch();
        setReporter(nullptr);
        std::filesystem::remove_all(folder);
    }
    void startFen(const char* fen) {
        test::StartTestGame(fen);
        state.game = takeGameSnapshot();
    }
    void play(std::initializer_list<const char*> moves) {
        for (const char* m : moves) ASSERT_TRUE(playGameMoveText(m)) << m;
        state.game = takeGameSnapshot();
    }
    std::string file(const std::string& name, const std::string& content) {
        std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }
    std::vector<std::string> recordedMoves() const {
        return std::vector<std::string>(gameRecord.entries,
                                        gameRecord.entries + gameRecord.moveCount);
    }

    WindowState state;
    FakeClipboard clipboard;
    test::ScriptedDialogServices dialogs;
    StatusRecorder status;
    std::string folder;
    CommandDispatcher dispatcher;
    std::unique_ptr<GameCommands> commands;
};

TEST_F(GameCommandsTest, EveryCommandOfTheTableHasAnAction) {
    // The dialogs and search displays come with their own windows.
    // The dialogs, the search displays and the window's own layout commands come with the window.
    const std::set<int> elsewhere = {61,    312,   40005, 40023, 40052, 40053,
                                     40054, 40061, 40065, 40066, 40075, 40086};
    for (const CommandEntry& e : commandTable()) {
        if (e.id == 0 || elsewhere.count(e.id)) continue;
        const bool noAction = e.id == 40020 || e.id == 40073 || (e.id >= 40076 && e.id <= 40079);
        EXPECT_EQ(dispatcher.has(e.id), !noAction) << e.id << " " << e.caption;
    }
    for (int id : {101, 102, 103, 110, 123, cmd::GoToStart, 40055, 40063, 108, 1016})
        EXPECT_TRUE(dispatcher.has(id)) << id;
    // What edits the game, the table, the book or the settings stops the search first.
    for (int id :
         {21,    40092, 40,   43,   46,   40004, 40051, 103,   40009, 40010, 40024, 40060, 40070,
          40085, 75,    1234, 1242, 1400, 1409,  40001, 40066, 40054, 151,   160,   50001, 50006})
        EXPECT_NE(searchUseOf(id), SearchUse::Leaves) << id;
    for (int id : {40006, 40058, 76, 71, 40059, 74, 110, 40055})
        EXPECT_EQ(searchUseOf(id), SearchUse::Leaves) << id;
}

TEST_F(GameCommandsTest, CheckMarksFollowTheirCommands) {
    const std::vector<std::pair<int, int>> groups = {{40, 43}, {151, 160}};
    for (const CommandEntry& e : commandTable()) {
        if (!e.checkable || e.id == cmd::UserDefinedLevel || e.id == cmd::SetupBoard ||
            (e.id >= cmd::FirstHashSize && e.id <= cmd::LastHashSize))
            continue;
        const bool before = commandChecked(e.id, state);
        dispatcher.dispatch(e.id);
        stopSearch(); // the sides may have set the engine thinking
        bool radio = false;
        for (auto [first, last] : groups) {
            if (e.id < first || e.id > last) continue;
            radio = true;
            for (int other = first; other <= last; ++other)
                EXPECT_EQ(commandChecked(other, state), other == e.id) << e.id << " " << other;
        }
        if (!radio) {
            EXPECT_NE(commandChecked(e.id, state), before) << e.id << " " << e.caption;
        }
    }
    // The depth items against the user-defined level.
    dispatcher.dispatch(155);
    EXPECT_EQ(searchInfo.maxDepth.load(), 5);
    EXPECT_FALSE(commandChecked(cmd::UserDefinedLevel, state));
    state.userDefinedLevel = true; // what the level dialog sets
    EXPECT_TRUE(commandChecked(cmd::UserDefinedLevel, state));
    EXPECT_FALSE(commandChecked(155, state));
    dispatcher.dispatch(cmd::Depth52);
    EXPECT_EQ(searchInfo.maxDepth.load(), 52);
    EXPECT_TRUE(commandChecked(cmd::Depth52, state));
    EXPECT_FALSE(commandChecked(cmd::UserDefinedLevel, state));
    activePersonality = SearchPersonality{};
    preferences = Preferences{};
    searchInfo.maxDepth.store(3);
}

TEST_F(GameCommandsTest, HashItemsSizeTheTable) {
    dispatcher.dispatch(1242); // "1.5 GB"
    EXPECT_EQ(uint64_t(transpositionTable.mask) + 1, uint64_t(1) << 25);
    EXPECT_TRUE(commandChecked(1242, state));
    EXPECT_FALSE(commandChecked(1234, state));
    dispatcher.dispatch(1234); // "6 MB"
    EXPECT_EQ(uint64_t(transpositionTable.mask) + 1, uint64_t(1) << 17);
    EXPECT_TRUE(commandChecked(1234, state));
    EXPECT_FALSE(commandChecked(1242, state));
    preferences = Preferences{};
}

// A command that edits the settings runs while the search is idle and lets the engine think on
// again; one that edits the game leaves it stopped.
TEST_F(GameCommandsTest, TheSearchIsStoppedAsTheTableSays) {
    searchInfo.humanSide.store(HumanBlack);
    searchInfo.maxDepth.store(52);
    searchInfo.fixedMoveSeconds.store(60);
    auto thinking = [] {
        for (int i = 0; i < 400 && searchInfo.searchState.load() != SearchState::Thinking; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return searchInfo.searchState.load() == SearchState::Thinking;
    };
    requestThink();
    ASSERT_TRUE(thinking());
    bool idleInside = false;
    dispatcher.on(cmd::ClearHash, [&](int) { idleInside = searchController.idle(); });
    dispatcher.dispatch(cmd::ClearHash);
    EXPECT_TRUE(idleInside);
    EXPECT_TRUE(thinking()) << "the engine goes on thinking on its move";
    idleInside = false;
    dispatcher.on(cmd::PlayNullMove, [&](int) { idleInside = searchController.idle(); });
    dispatcher.dispatch(cmd::PlayNullMove);
    EXPECT_TRUE(idleInside);
    EXPECT_TRUE(searchController.idle());
    EXPECT_EQ(gameRecord.moveCount, 0);
}

TEST_F(GameCommandsTest, ResignAndDrawOnlyAgainstTheEngine) {
    for (int side : {EnginePlaysBoth, EnginePlaysNeither}) {
        searchInfo.humanSide.store(side);
        drawAndResign.drawAcceptable.store(1);
        EXPECT_EQ(resignGame(dialogs), "");
        offerDraw(dialogs);
        EXPECT_EQ(searchInfo.gameResult.load(), GameRunning);
    }
    EXPECT_EQ(dialogs.beeps, 0);
    searchInfo.humanSide.store(HumanWhite);
    drawAndResign.drawAcceptable.store(0);
    EXPECT_EQ(offerDraw(dialogs), "Draw offer refused.");
    drawAndResign.drawAcceptable.store(1);
    EXPECT_EQ(offerDraw(dialogs), "Draw Agreed");
    EXPECT_EQ(searchInfo.gameResult.load(), GameDrawn);
    EXPECT_EQ(resignGame(dialogs), ""); // the game is over
    EXPECT_EQ(offerDraw(dialogs), "Draw offer refused.");
    searchInfo.gameResult.store(GameRunning);
    searchInfo.humanSide.store(HumanBlack);
    EXPECT_EQ(resignGame(dialogs), "Result 1-0\n(Black Resigns)");
    EXPECT_EQ(searchInfo.gameResult.load(), GameWhiteWon);
    EXPECT_EQ(dialogs.beeps, 2);
    drawAndResign.drawAcceptable.store(0);
}

TEST_F(GameCommandsTest, NullMoveIsRefusedInCheck) {
    startFen("4k3/8/8/8/8/8/8/4K2r w - - 0 1");
    EXPECT_EQ(playNullMove(state), "No null move while in check.");
    EXPECT_EQ(gameRecord.moveCount, 0);
    EXPECT_EQ(gamePosition.sideToMove, White);
    startFen("4k3/8/8/8/8/8/8/4K3 w - - 0 1");
    EXPECT_EQ(playNullMove(state), "");
    EXPECT_EQ(gameRecord.moveCount, 1);
    EXPECT_EQ(gamePosition.sideToMove, Black);
    EXPECT_EQ(state.game.moveTexts.at(0), "Null");
}

TEST_F(GameCommandsTest, PlayPvPlaysOnlyWhatFollowsTheGame) {
    SearchReport report;
    Position root = gamePosition;
    report.root = &root;
    const Move line[] = {MoveOf(e2, e4), MoveOf(e7, e5), MoveOf(g1, f3), Move(MarkerBit | 1),
                         MoveOf(d2, d4)};
    report.lines[0].length = 5;
    for (int i = 0; i < 5; ++i) report.lines[0].moves[i] = line[i];
    LastLine last;
    rememberLine(last, report);

    EXPECT_EQ(playPrincipalVariation(state, last), 3); // up to the marker
    EXPECT_EQ(gameRecord.moveCount, 3);
    // Where the game stands after some of the line, the rest follows.
    startFen(StartFen);
    play({"e4"});
    EXPECT_EQ(playPrincipalVariation(state, last), 2);
    EXPECT_STREQ(gameRecord.entries[2], "Ng1-f3 ");
    // A line of another position plays nothing, even where its moves would be legal.
    startFen(StartFen);
    play({"d4"});
    EXPECT_EQ(playPrincipalVariation(state, last), -1);
    EXPECT_EQ(gameRecord.moveCount, 1);
    // A move that is not legal in turn ends it.
    startFen(StartFen);
    report.lines[0].moves[1] = MoveOf(e4, e5); // Black cannot move White's pawn
    rememberLine(last, report);
    EXPECT_EQ(playPrincipalVariation(state, last), 1);
    EXPECT_EQ(gameRecord.moveCount, 1);
}

TEST_F(GameCommandsTest, MirrorRebuildsEnPassantAndKeys) {
    startFen("rnbqkbnr/ppp1p1pp/8/3pPp2/8/8/PPPP1PPP/RNBQKBN1 w Qkq f6 0 3");
    const uint64_t nodes = Perft(gamePosition, 3);
    EXPECT_EQ(mirrorPosition(state), "");
    EXPECT_EQ(gamePosition.sideToMove, Black);
    EXPECT_EQ(gamePosition.epSquare, 45); // f3
    EXPECT_EQ(gamePosition.castleRights, WhiteKingSide | WhiteQueenSide | BlackQueenSide);
    EXPECT_EQ(test::PositionInvariantError(gamePosition), "");
    EXPECT_EQ(Perft(gamePosition, 3), nodes);
    EXPECT_EQ(state.game.fen.rfind("rnbqkbn1/pppp1ppp/8/8/3PpP2/8/PPP1P1PP/RNBQKBNR b KQq f3", 0),
              0u)
        << state.game.fen;
}

TEST_F(GameCommandsTest, Chess960GamesStartFromTheirNumber) {
    startChess960Game(state, 518);
    EXPECT_TRUE(state.game.standardStart);
    startChess960Game(state, 0);
    EXPECT_EQ(state.game.startFen.substr(0, 17), "bbqnnrkr/pppppppp");
    EXPECT_EQ(gameCastleInfo.rookSquare[0], 63); // h1
    EXPECT_EQ(gameCastleInfo.rookSquare[1], 61); // f1
    for (int i = 0; i < 50; ++i) EXPECT_LT(unsigned(randomChess960Number()), 960u);
}

TEST_F(GameCommandsTest, PgnFilesStepForwardAndBack) {
    EXPECT_EQ(nextPgnGame(state, commands->pgn), "No PGN file loaded.");
    const std::string pgn =
        file("three.pgn", "[Event \"A\"]\n\n1. e4 *\n\n[Event \"B\"]\n\n1. d4 *\n\n"
                          "[Event \"C\"]\n\n1. c4 *\n");
    EXPECT_EQ(openPgnFile(state, commands->pgn, ""), ""); // the picker was cancelled
    EXPECT_EQ(gameRecord.moveCount, 0);
    EXPECT_EQ(openPgnFile(state, commands->pgn, pgn), "");
    EXPECT_EQ(lastPgnFolder(), folder);
    EXPECT_EQ(state.game.moveTexts.at(0), "e2-e4  ");
    EXPECT_EQ(previousPgnGame(state, commands->pgn), ""); // game 1 stays game 1
    EXPECT_EQ(commands->pgn.gameIndex, 1);
    nextPgnGame(state, commands->pgn);
    EXPECT_EQ(nextPgnGame(state, commands->pgn), "");
    EXPECT_EQ(state.game.moveTexts.at(0), "c2-c4  ");
    EXPECT_EQ(status.last().rfind("Game 3\nEvent: C\n", 0), 0u);
    // No game 4: back to index 1, the board as it was.
    EXPECT_EQ(nextPgnGame(state, commands->pgn), "No game 4: the file holds 3 games.");
    EXPECT_EQ(commands->pgn.gameIndex, 1);
    EXPECT_EQ(state.game.moveTexts.at(0), "c2-c4  ");
    nextPgnGame(state, commands->pgn);
    EXPECT_EQ(state.game.moveTexts.at(0), "d2-d4  ");
    EXPECT_EQ(openPgnFile(state, commands->pgn, folder + "/missing.pgn"),
              "No game found in " + folder + "/missing.pgn");
    EXPECT_EQ(commands->pgn.file, pgn);
}

TEST_F(GameCommandsTest, AppendSaysSavedOnlyWhenWritten) {
    play({"e4", "c5"});
    const std::string path = folder + "/games.pgn";
    EXPECT_EQ(appendGameToFile(""), ""); // cancelled
    EXPECT_EQ(appendGameToFile(path), "Game Saved.");
    EXPECT_EQ(appendGameToFile(path), "Game Saved.");
    EXPECT_EQ(appendGameToFile("/dev/full"), "Game not saved: the file could not be written.");
    EXPECT_EQ(appendGameToFile(folder + "/no/such/folder.pgn"),
              "Game not saved: the file could not be written.");
    startFen(StartFen);
    EXPECT_EQ(openPgnFile(state, commands->pgn, path), "");
    EXPECT_EQ(nextPgnGame(state, commands->pgn), "");
    EXPECT_EQ(recordedMoves(), (std::vector<std::string>{"e2-e4  ", "c7-c5  "}));
}

TEST_F(GameCommandsTest, TranscriptTextAndItsLimit) {
    startFen("4k3/8/8/8/8/8/8/4K3 b - - 0 1");
    play({"Kd7", "Kd2", "Kc7"});
    EXPECT_EQ(transcriptText(state.game),
              "[FEN \"4k3/8/8/8/8/8/8/4K3 b - - 0 1\"]\n[SetUp \"1\"]\n\n"
              "1... Ke8-d7  \n2. Ke1-d2  Kd7-c7  \n");
    // A game longer than the clipboard holds ends with a whole move.
    GameSnapshot long_;
    long_.moveCount = 4000;
    for (int i = 0; i < 4000; ++i) long_.moveTexts.push_back(i % 2 ? "Ng8-f6 " : "Ng1-f3 ");
    const std::string text = transcriptText(long_);
    EXPECT_LE(text.size(), TranscriptLimit);
    EXPECT_GT(text.size(), TranscriptLimit - 20);
    const std::string lastMove = text.substr(text.find_last_not_of(" \n") - 5, 6);
    EXPECT_TRUE(lastMove == "Ng8-f6" || lastMove == "Ng1-f3") << text.substr(text.size() - 30);
}

TEST_F(GameCommandsTest, StandardPgnIsReadBackAsTheSameGame) {
    play({"e4", "e5", "Nf3", "Nc6", "Bb5", "a6", "Bxc6", "dxc6", "O-O"});
    StandardPgnInfo info{"Ann", "Corvid 1.5", "2024.01.02", 0};
    const std::string pgn = standardPgnText(state.game, info);
    EXPECT_NE(pgn.find("[Date \"2024.01.02\"]\n[Round \"-\"]\n[White \"Ann\"]"), std::string::npos);
    EXPECT_NE(pgn.find("\n1. e4 e5 2. Nf3 Nc6 3. Bb5 a6 4. Bxc6 dxc6 5. O-O *\n"),
              std::string::npos)
        << pgn;
    const std::vector<std::string> moves = recordedMoves();
    startFen(StartFen);
    EXPECT_EQ(pasteText(state, pgn, PasteWish::Transcript, commands->undoFile()).kind,
              PasteKind::Game);
    EXPECT_EQ(recordedMoves(), moves);
    // A Chess960 start says so.
    startChess960Game(state, 0);
    EXPECT_NE(standardPgnText(state.game, info).find("[Variant \"Chess960\"]\n[SetUp \"1\"]"),
              std::string::npos);
}

TEST_F(GameCommandsTest, PasteAndUndo) {
    play({"d4", "d5", "c4"});
    const std::vector<std::string> before = recordedMoves();
    const std::string fen = "8/8/8/4k3/8/8/8/4K2R w K - 0 1";
    PasteOutcome pasted =
        pasteText(state, "  " + fen + "\n", PasteWish::Position, commands->undoFile());
    EXPECT_EQ(pasted.kind, PasteKind::Position);
    EXPECT_EQ(pasted.status, "Position Pasted.");
    EXPECT_EQ(state.game.fen.rfind("8/8/8/4k3/8/8/8/4K2R w K -", 0), 0u);
    EXPECT_EQ(gameRecord.moveCount, 0);
    dispatcher.dispatch(cmd::UndoLastPaste);
    EXPECT_EQ(recordedMoves(), before);
    EXPECT_EQ(gamePosition.ply, 3);

    // Texts that are no game or position change nothing, and say so.
    const std::string megabyte(1 << 20, 'x');
    const std::string longFen = fen + std::string(300, ' ') + "x";
    const std::string brokenFen = "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBN b KQkq e3 0 1";
    const std::string tooLongTag = "[FEN \"" + fen + std::string(300, ' ') + "\"]\n\n1. Kd2 *";
    const struct {
        const std::string& text;
        PasteWish wish;
        const char* status;
    } refused[] = {
        {megabyte, PasteWish::Transcript,
         "Transcript not pasted: the text is longer than 49999 characters."},
        {megabyte, PasteWish::Position,
         "Position not pasted: the text is longer than 255 characters."},
        {longFen, PasteWish::Position,
         "Position not pasted: the text is longer than 255 characters."},
        {brokenFen, PasteWish::Transcript, "Not a valid Position, not enough squares"},
        {tooLongTag, PasteWish::Transcript, "The game's FEN tag is too long."},
        {"hello world", PasteWish::Transcript,
         "Nothing pasted: the clipboard holds no game or position."},
    };
    for (const auto& r : refused) {
        PasteOutcome outcome = pasteText(state, r.text, r.wish, commands->undoFile());
        EXPECT_EQ(outcome.kind, PasteKind::Nothing) << r.status;
        EXPECT_EQ(outcome.status, r.status);
        EXPECT_EQ(recordedMoves(), before);
    }
    // The transcript copied is pasted back to the same game.
    clipboard.text.clear();
    dispatcher.dispatch(cmd::CopyTranscript);
    EXPECT_EQ(status.last(), "Transcript Copied");
    startFen(StartFen);
    dispatcher.dispatch(cmd::PasteTranscript);
    EXPECT_EQ(status.last(), "Transcript Pasted");
    EXPECT_EQ(recordedMoves(), before);
    clipboard.answer = ClipboardWrite::CannotOpen;
    dispatcher.dispatch(cmd::CopyPosition);
    EXPECT_EQ(status.last(), "Cannot Open Clipboard");
}

// The game handed over through "clipboard.pgn" comes back with the undo file kept; the clock
// reset starts both clocks afresh.
TEST_F(GameCommandsTest, ClipboardFileAndClockReset) {
    play({"e4", "e5", "Nf3"});
    const std::vector<std::string> handed = recordedMoves();
    dispatcher.dispatch(cmd::SaveClipboardFile);
    startFen(StartFen);
    play({"d4"});
    dispatcher.dispatch(cmd::LoadClipboardFile);
    EXPECT_EQ(recordedMoves(), handed);
    dispatcher.dispatch(cmd::UndoLastPaste);
    EXPECT_EQ(recordedMoves(), std::vector<std::string>{"d2-d4  "});

    searchInfo.whiteClock.store(12345);
    searchInfo.blackClock.store(678);
    state.flagFallNotice = true;
    dispatcher.dispatch(cmd::ResetClock);
    EXPECT_EQ(status.last(), "Game clock reset.");
    EXPECT_EQ(searchInfo.whiteClock.load() + searchInfo.blackClock.load(), 0);
    EXPECT_FALSE(state.flagFallNotice);
}

TEST_F(GameCommandsTest, AnalysisCopyEndsWithAWholeLine) {
    const std::string line = "[12]  0.25  01:02.3  e4 e5 Nf3\r\n";
    std::string lines;
    for (int i = 0; i < 2000; ++i) lines += line;
    const std::string text = analysisCopyText("Corvid 1.5", 48, "fen", lines);
    EXPECT_EQ(text.rfind("Corvid 1.5  (48 MB hash)\nFEN: fen\n\n[12]", 0), 0u);
    EXPECT_LE(text.size(), ClipboardLimit);
    EXPECT_EQ(text.substr(text.size() - line.size()), line);
}

} // namespace
} // namespace corvid
