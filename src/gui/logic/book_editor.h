// "BOOK" ("Opening Book Editor"): the book in use with its counts, adding the positions of a
// PGN file, loading, saving and clearing. Every change goes through the engine's book commands,
// which stop the search and wait until it is idle first.
#pragma once

#include "book/book_builder.h"
#include "gui/logic/dialog_fields.h"
#include "gui/logic/window_state.h"

#include <string>

namespace corvid {

namespace bookeditor {
constexpr int PositionsLabel = 180, FileLabel = 181, FreeLabel = 182;
constexpr int AddPgn = 1004, Winning = 1007, Drawing = 1008, Losing = 1009;
constexpr int SaveAs = 1010, Clear = 1011, Load = 1012, UpToMove = 1013, MinOccurrences = 1014;
constexpr int Done = 1015, MaxGames = 1016, FromMove = 1017, Save = 1018;
constexpr const char* PgnFilter = "PGN Chess Game (*.pgn)";
constexpr const char* BookFilter = "Opening Book (*.obk)";
} // namespace bookeditor

// Per process: the building parameters the editor shows and builds with, kept between
// openings.
BookBuildParameters& bookEditorParameters();

class BookEditor {
public:
    BookEditor(WindowState& state, DialogServices& dialogs);

    // Stops the search (the editor reads the book), then the labels, fields and boxes.
    DialogValues open();
    // The labels as they read now: the position count, the book file and the free entries.
    DialogValues labels() const;

    // A field was edited: its value is stored at once (move numbers within 1..30, at least one
    // occurrence; a text without a number keeps the value and says so). The text the field
    // shows afterwards.
    std::string fieldChanged(int id, const std::string& text);
    void checkChanged(int id, bool on);

    // The buttons. Add PGN builds from a chosen file with the sides checked and starts a new
    // game; Load adds a chosen book file; Save writes to the book file (Save As without one);
    // Save As asks for the file, which becomes the book file; Clear empties the book after a
    // Yes. A cancelled picker or question changes nothing.
    void addPgn();
    void load();
    void save();
    void saveAs();
    void clear();

private:
    WindowState& state_;
    DialogServices& dialogs_;
    bool countWithBlank_ = true; // the count label as it reads when the editor opens
};

} // namespace corvid
