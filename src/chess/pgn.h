// PGN files: saving the game shown, loading the n-th game of a file, and the game reader and
// move-text scanner the book builder shares.
#pragma once

#include "chess/game_record.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace corvid {

// Longest piece of a line read at once (longer lines arrive in pieces) and longest move text
// of one game, terminating NUL included.
constexpr int PgnLineSize = 4000;
constexpr int PgnMoveTextSize = 50000;

// The tags the reader keeps; longer values are cut to fit.
struct PgnTags {
    char white[128] = "X";
    char black[128] = "X";
    char event[128] = "";
    char result[32] = "X";
    char timeControl[64] = "X";
    char fen[256] = "";
    bool fenCut = false; // the FEN tag was longer than fen holds: no position to trust
    char variant[64] = "";
    int32_t currentPly = -1;
};

// Reads the tags of one tag line ("[Name \"value\"]", several per line allowed) into tags.
void ReadPgnTags(PgnTags& tags, std::string_view line);

// Reads the games of a PGN file one after another. A game begins with its tag block (or, in a
// file without tags, with its move text) and ends where the next tag block begins. Line ends
// may be LF, CR LF or CR; a byte-order mark and '%' escape lines are passed over.
class PgnReader {
public:
    explicit PgnReader(std::FILE* file) : file_(file) {}
    // The next game's tags and move text: the text without its comments, cut at a line end
    // to at most PgnMoveTextSize - 1 characters. False when no game is left.
    bool NextGame(PgnTags& tags, std::string& moveText);
    // The file offset of the first line of the game NextGame returned last.
    int64_t GameOffset() const { return gameOffset_; }
    // Goes on reading at a game's offset (one GameOffset gave); false when the file cannot
    // seek there.
    bool SeekToGame(int64_t offset);

private:
    struct Line {
        std::string text;
        int64_t offset = 0;     // in the file, of the line's first character
        bool continued = false; // a further piece of the line before it
        bool endsLine = true;   // ended by a line end (not cut at the piece size)
    };
    bool ReadLine(Line& line);
    bool NextLine(Line& line);

    std::FILE* file_;
    int64_t position_ = 0; // bytes read so far (less those put back)
    int64_t gameOffset_ = 0;
    bool started_ = false;
    bool previousEndedLine_ = true;
    bool havePending_ = false;
    Line pending_;
};

// Finds game n (from 1) of the file and collects its tags and move text. Returns the number of
// games seen, at most n.
int ReadPgnGameText(std::FILE* file, int n, std::string& text, PgnTags& tags);

// Where the games of a file begin, as far as it has been read: stepping through a large file
// then reads each game once. It belongs to one file as it was (name, size, modification time);
// a changed file is read afresh.
struct PgnFileIndex {
    std::string fileName;
    int64_t fileSize = -1;
    int64_t modified = 0;
    std::vector<int64_t> offsets; // offsets[i]: where game i + 1 begins
    bool complete = false;        // the file holds exactly offsets.size() games
};

// Finds game n (from 1) of the file through the index (extending it) and reads its tags and
// move text. Returns n when found, else the number of games in the file (fewer than n), or 0
// when the file cannot be read.
int ReadPgnGameIndexed(PgnFileIndex& index, const char* fileName, int n, std::string& text,
                       PgnTags& tags);

// How a move text replayed.
struct MoveListStats {
    int played = 0;  // tokens played as moves
    int failed = 0;  // tokens that did not play (illegal, unreadable)
    int results = 0; // result tokens: 1-0, 0-1, 1/2-1/2, *
};

// Plays a PGN move text from the position, recording each move into record. Comments ({ } and
// ; to the line end), variations, bracketed sections, annotation glyphs ($n, !, ?), move
// numbers (also black's 12...) and result tokens are passed over; a move that does not play is
// skipped and the scan goes on.
MoveListStats ParseMoveList(GameRecord& record, std::string_view text, Position& position);

// Loads game n of the file into the game shown: a new game from the FEN tag (or the standard
// position), its moves recorded, then the position of the "CurrentPly" tag shown. Returns n
// when loaded; else the number of games found (fewer than n), or 0 when the file cannot be
// read or the FEN tag is invalid (nothing changes then). The caller stops any search first.
int LoadPgnGame(const char* fileName, int n, bool show);

// What the writer needs besides the game itself.
struct PgnGameInfo {
    char white[128] = "Human";
    char black[128] = "Human";
    double baseMinutes = 5;
    double incrementSeconds = 5;
    int movesPerControl = 0;   // moves per period; 0: the whole game in the base time
    double secondsPerMove = 0; // a fixed time per move instead of a clock; 0: none
};

// The standard start position, compared field by field (a Chess960 game with the standard
// arrangement counts as standard too).
bool IsStandardStartPosition(const Position& position);

// The player names by which side the engine plays (humanSide: 0 the user plays white, 1 black,
// 2 the engine plays both, 3 neither).
void SetPgnPlayerNames(PgnGameInfo& info, int humanSide, const char* userName,
                       const char* engineName);

// Writes the game shown (append: add to the file, as the protocol game log does, after a blank
// line that parts it from the game before). result: 2 white won, 1 black won, 3 drawn,
// anything else unfinished. Returns 1, or 0 when the file cannot be opened or written.
int SavePgn(const char* fileName, int result, bool append, const PgnGameInfo& info);

} // namespace corvid
