#include "control/book_commands.h"

#include "book/book_file.h"
#include "control/game.h"
#include "control/search_controller.h"
#include "platform/engine_reporter.h"

namespace corvid {

bool EditorLoadBook(const std::string& fileName) {
    stopSearch();
    return BookLoad(currentBook(), fileName).opened;
}

int EditorSaveBook(const std::string& fileName, int threshold) {
    stopSearch();
    return BookSave(currentBook(), threshold, fileName);
}

void EditorClearBook() {
    stopSearch();
    BookNew(currentBook());
    reporter().statusText("Book Cleared");
}

int EditorAddPgn(const std::string& fileName, const BookBuildParameters& parameters) {
    stopSearch();
    return AddPgnToBook(currentBook(), fileName, ClampedBuildParameters(parameters));
}

void EditorSetPositionValue(int value) {
    stopSearch();
    Position position = currentGamePosition();
    BookAddPosition(currentBook(), position, value);
}

void EditorRemovePosition() {
    stopSearch();
    Position position = currentGamePosition();
    BookRemovePosition(currentBook(), position, false);
}

} // namespace corvid
