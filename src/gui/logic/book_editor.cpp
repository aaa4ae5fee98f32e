#include "gui/logic/book_editor.h"

#include "book/opening_book.h"
#include "control/book_commands.h"
#include "control/new_game.h"
#include "control/search_controller.h"
#include "control/settings.h"
#include "gui/logic/desktop.h"
#include "platform/data_files.h"

#include <algorithm>
#include <cstdio>

namespace corvid {

namespace {

struct FieldInfo {
    int id;
    const char* label;
    int BookBuildParameters::*value;
    int low, high;
};

constexpr FieldInfo Fields[] = {
    {bookeditor::FromMove, "From Move # (1-30):", &BookBuildParameters::fromMove, 1, 30},
    {bookeditor::UpToMove, "Up to Move # (1-30):", &BookBuildParameters::upToMove, 1, 30},
    {bookeditor::MaxGames, "Max Games to Read:", &BookBuildParameters::maxGames, 0, INT32_MAX},
    {bookeditor::MinOccurrences, "Times position must occur:", &BookBuildParameters::minOccurrences,
     1, INT32_MAX},
};

struct SideBox {
    int id;
    int bit;
};
constexpr SideBox SideBoxes[] = {{bookeditor::Winning, BookFromWinning},
                                 {bookeditor::Drawing, BookFromDrawing},
                                 {bookeditor::Losing, BookFromLosing}};

const FieldInfo* fieldOf(int id) {
    for (const FieldInfo& field : Fields)
        if (field.id == id) return &field;
    return nullptr;
}

} // namespace

BookBuildParameters& bookEditorParameters() {
    static BookBuildParameters parameters;
    return parameters;
}

BookEditor::BookEditor(WindowState& state, DialogServices& dialogs)
    : state_(state), dialogs_(dialogs) {}

DialogValues BookEditor::open() {
    stopSearch();
    countWithBlank_ = true;
    DialogValues values = labels();
    const BookBuildParameters& p = bookEditorParameters();
    for (const FieldInfo& field : Fields) values.texts[field.id] = std::to_string(p.*field.value);
    for (const SideBox& box : SideBoxes) values.checks[box.id] = (p.sides & box.bit) != 0;
    return values;
}

DialogValues BookEditor::labels() const {
    const OpeningBook& book = currentBook();
    DialogValues values;
    char text[64];
    std::snprintf(text, sizeof text,
                  countWithBlank_ ? "# of Positions in Book: %d " : "# of Positions in Book: %d",
                  book.positions);
    values.texts[bookeditor::PositionsLabel] = text;
    std::snprintf(text, sizeof text, "(%d free)", OpeningBook::PoolSize - book.poolUsed);
    values.texts[bookeditor::FreeLabel] = text;
    values.texts[bookeditor::FileLabel] = bookPath(ActiveSettings);
    return values;
}

std::string BookEditor::fieldChanged(int id, const std::string& text) {
    const FieldInfo* field = fieldOf(id);
    if (!field) return text;
    int& stored = bookEditorParameters().*field->value;
    std::optional<uint32_t> value = readUnsignedField(text);
    if (!value) {
        reportNotANumber(dialogs_, field->label, text, stored);
        return std::to_string(stored);
    }
    stored = int(std::clamp<int64_t>(*value, field->low, field->high));
    return std::to_string(stored);
}

void BookEditor::checkChanged(int id, bool on) {
    for (const SideBox& box : SideBoxes) {
        if (box.id != id) continue;
        int& sides = bookEditorParameters().sides;
        sides = on ? sides | box.bit : sides & ~box.bit;
    }
}

void BookEditor::addPgn() {
    const std::string file = dialogs_.openFileName("Open", "", bookeditor::PgnFilter);
    countWithBlank_ = false;
    if (file.empty()) return;
    // The window starts a new game from the standard position, then the build reports.
    resetWindowForNewGame(state_);
    newGame(true, true, nullptr);
    showGame(state_, takeGameSnapshot());
    EditorAddPgn(file, bookEditorParameters());
}

void BookEditor::load() {
    const std::string file = dialogs_.openFileName("Open", "", bookeditor::BookFilter);
    countWithBlank_ = false;
    if (!file.empty()) EditorLoadBook(file);
}

void BookEditor::save() {
    const std::string path = bookPath(ActiveSettings);
    if (path.empty()) {
        saveAs();
        return;
    }
    // Where the book was found at start (the start folder first, then beside the program).
    EditorSaveBook(findDataFile(path), 0);
}

void BookEditor::saveAs() {
    const std::string file =
        dialogs_.saveFileName("Save As", bookPath(ActiveSettings), bookeditor::BookFilter);
    if (file.empty()) return;
    setBookPath(ActiveSettings, file);
    EditorSaveBook(file, 0);
}

void BookEditor::clear() {
    countWithBlank_ = false;
    if (!dialogs_.askYesNo("Clear Book?", "If you made any new book entries, they will be lost "
                                          "if not saved. Really Clear Book?"))
        return;
    EditorClearBook();
}

} // namespace corvid
