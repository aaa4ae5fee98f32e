// The book editor's model on the book in use: its labels, the building parameters, Add PGN
// against the book tool, and saving, loading and clearing with their pickers and question.
#include "book/book_file.h"
#include "book/book_test_helpers.h"
#include "chess/game_record.h"
#include "control/game.h"
#include "control/settings.h"
#include "gui/logic/book_editor.h"
#include "gui/scripted_dialog_services.h"
#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>

namespace corvid {
namespace {

std::map<uint64_t, int> records(OpeningBook& book) {
    std::map<uint64_t, int> all;
    ForEachBookEntry(book, [&](BookEntry& entry) { all[entry.key] = entry.value; });
    return all;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class BookEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureTables();
        BookNew(currentBook());
        bookEditorParameters() = BookBuildParameters{};
        setBookPath(ActiveSettings, dir.file("book.obk"));
        resetGame(nullptr);
    }
    void TearDown() override {
        BookNew(currentBook());
        SettingsMap defaults;
        ActiveSettings.assign(defaults.entries());
    }
    test::RecordingReporter reporter;
    test::ScratchDirectory dir;
    test::ScriptedDialogServices dialogs;
    WindowState state;
    BookEditor editor{state, dialogs};
};

TEST_F(BookEditorTest, OpensWithTheCountsTheFileAndTheBuildingParameters) {
    DialogValues values = editor.open();
    EXPECT_EQ(values.text(bookeditor::PositionsLabel), "# of Positions in Book: 0 ");
    EXPECT_EQ(values.text(bookeditor::FreeLabel), "(200000 free)");
    EXPECT_EQ(values.text(bookeditor::FileLabel), dir.file("book.obk"));
    EXPECT_EQ(values.text(bookeditor::FromMove), "1");
    EXPECT_EQ(values.text(bookeditor::UpToMove), "10");
    EXPECT_EQ(values.text(bookeditor::MaxGames), "50000");
    EXPECT_EQ(values.text(bookeditor::MinOccurrences), "1");
    EXPECT_TRUE(values.checked(bookeditor::Winning));
    EXPECT_TRUE(values.checked(bookeditor::Drawing));
    EXPECT_FALSE(values.checked(bookeditor::Losing));
}

TEST_F(BookEditorTest, FieldsAndBoxesTakeEffectAtOnceWithinTheirLimits) {
    EXPECT_EQ(editor.fieldChanged(bookeditor::FromMove, "45"), "30");
    EXPECT_EQ(bookEditorParameters().fromMove, 30);
    EXPECT_EQ(editor.fieldChanged(bookeditor::FromMove, "0"), "1");
    EXPECT_EQ(bookEditorParameters().fromMove, 1);
    EXPECT_EQ(editor.fieldChanged(bookeditor::UpToMove, "31"), "30");
    EXPECT_EQ(editor.fieldChanged(bookeditor::MinOccurrences, "0"), "1");
    EXPECT_EQ(editor.fieldChanged(bookeditor::MaxGames, "7"), "7");
    EXPECT_EQ(bookEditorParameters().maxGames, 7);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(editor.fieldChanged(bookeditor::MaxGames, "many"), "7");
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].rfind("Not a Number|Max Games to Read: \"many\"", 0), 0u);
    editor.checkChanged(bookeditor::Drawing, false);
    editor.checkChanged(bookeditor::Losing, true);
    EXPECT_EQ(bookEditorParameters().sides, BookFromWinning | BookFromLosing);
    // The parameters stay for the next opening.
    BookEditor again(state, dialogs);
    EXPECT_TRUE(again.open().checked(bookeditor::Losing));
}

TEST_F(BookEditorTest, AddPgnBuildsWhatTheBookToolBuildsAndStartsANewGame) {
    const std::string pgn = test::TestDataPath("pgn/master/iommast19_first40.pgn");
    const std::string tool = test::BuiltProgram("book_tool");
    const std::string built = dir.file("tool.obk");
    const std::string command = tool + " build " + built +
                                " --sides wl --from 3 --to 8 --max-games 30 --min 2 " + pgn +
                                " > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
    auto expected = std::make_unique<OpeningBook>();
    ASSERT_TRUE(BookLoad(*expected, built).opened);
    ASSERT_GT(expected->positions, 10);

    ASSERT_TRUE(playGameMoveText("e2e4"));
    editor.open();
    editor.checkChanged(bookeditor::Drawing, false);
    editor.checkChanged(bookeditor::Losing, true);
    editor.fieldChanged(bookeditor::FromMove, "3");
    editor.fieldChanged(bookeditor::UpToMove, "8");
    editor.fieldChanged(bookeditor::MaxGames, "30");
    editor.fieldChanged(bookeditor::MinOccurrences, "2");
    dialogs.files = {pgn};
    editor.addPgn();
    EXPECT_EQ(dialogs.pickers.back(), "open|PGN Chess Game (*.pgn)|");
    EXPECT_EQ(records(currentBook()), records(*expected));
    EXPECT_EQ(reporter.status.back(), "Finished Adding .PGN");
    EXPECT_EQ(editor.labels().text(bookeditor::PositionsLabel),
              "# of Positions in Book: " + std::to_string(expected->positions));
    EXPECT_EQ(gameMoveCount(), 0); // the window starts a new game
    EXPECT_EQ(state.game.moveCount, 0);

    // A cancelled picker changes nothing.
    const auto before = records(currentBook());
    editor.addPgn();
    EXPECT_EQ(records(currentBook()), before);
}

TEST_F(BookEditorTest, SaveSaveAsLoadAndClear) {
    resetGame(nullptr);
    ASSERT_TRUE(playGameMoveText("d2d4"));
    BookAddPosition(currentBook(), gamePosition, 2);
    ASSERT_TRUE(playGameMoveText("d7d5"));
    BookAddPosition(currentBook(), gamePosition, -1);
    const auto saved = records(currentBook());
    editor.open();

    editor.save(); // to the book file of the settings
    EXPECT_EQ(fileBytes(dir.file("book.obk")).size(), 20u);
    EXPECT_EQ(reporter.status.back(), "2 Positions Saved");

    dialogs.files = {""};
    editor.saveAs(); // cancelled
    EXPECT_EQ(dialogs.pickers.back(), "save|Opening Book (*.obk)|" + dir.file("book.obk"));
    EXPECT_EQ(bookPath(ActiveSettings), dir.file("book.obk"));
    dialogs.files = {dir.file("copy.obk")};
    editor.saveAs();
    EXPECT_EQ(bookPath(ActiveSettings), dir.file("copy.obk"));
    EXPECT_EQ(fileBytes(dir.file("copy.obk")), fileBytes(dir.file("book.obk")));
    EXPECT_EQ(editor.labels().text(bookeditor::FileLabel), dir.file("copy.obk"));

    editor.clear(); // answered No
    EXPECT_EQ(dialogs.questions.back(), "Clear Book?|If you made any new book entries, they will "
                                        "be lost if not saved. Really Clear Book?");
    EXPECT_EQ(records(currentBook()), saved);
    EXPECT_EQ(editor.labels().text(bookeditor::PositionsLabel), "# of Positions in Book: 2");
    dialogs.answers = {true};
    editor.clear();
    EXPECT_TRUE(records(currentBook()).empty());
    EXPECT_EQ(reporter.status.back(), "Book Cleared");

    dialogs.files = {"", dir.file("copy.obk")};
    editor.load(); // cancelled
    EXPECT_TRUE(records(currentBook()).empty());
    editor.load();
    EXPECT_EQ(dialogs.pickers.back(), "open|Opening Book (*.obk)|");
    EXPECT_EQ(records(currentBook()), saved);
    EXPECT_EQ(editor.labels().text(bookeditor::FreeLabel), "(200000 free)");

    // Without a book file, Save asks for one.
    setBookPath(ActiveSettings, "");
    dialogs.files = {dir.file("named.obk")};
    editor.save();
    EXPECT_EQ(dialogs.pickers.back().rfind("save|", 0), 0u);
    EXPECT_EQ(fileBytes(dir.file("named.obk")).size(), 20u);
}

TEST_F(BookEditorTest, ABookThatCannotBeWrittenLeavesTheOldFileAndTheBookInMemory) {
    // Counters of a build in progress stay counters in memory until a file holds them.
    BookAdd(currentBook(), 0x1234, BookOccurrenceValue, true);
    BookAdd(currentBook(), 0x1234, BookOccurrenceValue, true);
    BookAdd(currentBook(), 0x5678, 1, true);
    // A name the file system takes, but with no room for the temporary name beside it.
    const std::string target = dir.file(std::string(250, 'b') + ".obk");
    std::ofstream(target, std::ios::binary) << "old book";
    setBookPath(ActiveSettings, target);
    const auto before = records(currentBook());
    editor.open();
    editor.save();
    EXPECT_EQ(fileBytes(target), "old book");
    EXPECT_EQ(records(currentBook()), before);
    EXPECT_EQ(BookFind(currentBook(), 0x1234)->value, BookCounterBase + 2);
    ASSERT_FALSE(reporter.boxes.empty());
    EXPECT_NE(reporter.boxes.back().find("Error Saving Opening Book"), std::string::npos);
}

} // namespace
} // namespace corvid
