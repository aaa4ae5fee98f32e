// Games and positions through the clipboard: the texts a copy writes (the transcript, a
// standard PGN, the FEN, the analysis), what a paste of a text does, and the undo file that
// keeps the game a paste replaced.
#pragma once

#include "gui/logic/clipboard_port.h"
#include "gui/logic/game_snapshot.h"
#include "gui/logic/window_state.h"

#include <cstddef>
#include <string>

namespace corvid {

// Characters a copy puts on the clipboard at most; the transcript ends before TranscriptLimit.
constexpr size_t ClipboardLimit = 20000;
constexpr size_t TranscriptLimit = 19986;
// Longest text a paste reads as a position, and as a game (the PGN reader's move text limit).
constexpr size_t PasteFenLimit = 255;
size_t pastePgnLimit();

// The transcript: the FEN and SetUp tags when the game did not start from the standard
// position, then the moves as the game record holds them, white's with their move number and a
// line end after each black move. Whole moves only, within TranscriptLimit.
std::string transcriptText(const GameSnapshot& game);

// A game any chess program reads: the seven-tag roster (SetUp, FEN and Variant tags when
// needed), SAN moves with move numbers in lines of at most 79 characters, the result at the
// end. Whole moves only, within ClipboardLimit.
struct StandardPgnInfo {
    std::string white, black;
    std::string date = "????.??.??"; // "YYYY.MM.DD"
    int result = 0;                  // gameResult: 2 white won, 1 black won, 3 drawn
};
std::string standardPgnText(const GameSnapshot& game, const StandardPgnInfo& info);
// Today's date as the Date tag writes it.
std::string pgnDateToday();

// The analysis copy: "<engine>  (<n> MB hash)", the FEN and a blank line, then the pane's
// lines, cut at a line end within ClipboardLimit.
std::string analysisCopyText(const std::string& engine, long long hashMegabytes,
                             const std::string& fen, const std::string& lines);

// Puts the text on the clipboard; the status text ("done" when it worked).
std::string copyToClipboard(ClipboardPort& clipboard, const std::string& text, const char* done);

// What a paste does with a text. Position: a FEN of at most PasteFenLimit characters on one
// line; Game: a PGN game with tags or moves that play, within pastePgnLimit(). Anything else
// changes nothing.
enum class PasteKind { Nothing, Position, Game };
enum class PasteWish { Transcript, Position }; // the command chosen (for its messages)
struct PasteOutcome {
    PasteKind kind = PasteKind::Nothing;
    std::string status; // what the status line says
};
// Pastes the text into the game (the search stopped): first saves the game shown to undoFile
// (when it goes ahead), then starts the pasted game or position.
PasteOutcome pasteText(WindowState& state, const std::string& text, PasteWish wish,
                       const std::string& undoFile);

} // namespace corvid
