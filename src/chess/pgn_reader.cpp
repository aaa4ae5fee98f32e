#include "chess/pgn.h"

#include "chess/fen.h"
#include "platform/engine_reporter.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

namespace corvid {

namespace {

bool IsBlankChar(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v'; }

bool IsBlankLine(std::string_view line) {
    return std::all_of(line.begin(), line.end(), IsBlankChar);
}

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A tag line: '[' and a tag name, after optional blanks. "[%clk" and the like are not tags.
bool IsTagLine(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && IsBlankChar(line[i])) ++i;
    return i + 1 < line.size() && line[i] == '[' && IsLetter(line[i + 1]);
}

template <size_t N> void CopyCut(char (&field)[N], std::string_view value) {
    size_t n = std::min(value.size(), N - 1);
    std::memcpy(field, value.data(), n);
    field[n] = '\0';
}

void StoreTag(PgnTags& tags, std::string_view name, std::string_view value) {
    if (name == "White")
        CopyCut(tags.white, value);
    else if (name == "Black")
        CopyCut(tags.black, value);
    else if (name == "Event")
        CopyCut(tags.event, value);
    else if (name == "Result")
        CopyCut(tags.result, value);
    else if (name == "TimeControl")
        CopyCut(tags.timeControl, value);
    else if (name == "FEN") {
        CopyCut(tags.fen, value);
        tags.fenCut = value.size() >= sizeof tags.fen;
    } else if (name == "Variant")
        CopyCut(tags.variant, value);
    else if (name == "CurrentPly" || name == "Current Ply") { // the older files' name
        char digits[16];
        CopyCut(digits, value);
        char* end = nullptr;
        long ply = std::strtol(digits, &end, 10);
        if (end != digits && ply >= 0 && ply <= MaxGamePly) tags.currentPly = int32_t(ply);
    }
}

// Appends the line's text outside brace and ';' comments (a comment leaves one blank), so
// heavily annotated games keep all their moves within the text limit. depth carries an open
// brace comment over to the next line.
void AppendWithoutComments(std::string& out, std::string_view line, int& depth, bool& lineComment) {
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (depth == 0 && c == ';') {
            lineComment = true; // the rest of the line, further pieces included
            break;
        }
        if (c == '{') {
            if (depth++ == 0) out += ' ';
        } else if (c == '}' && depth > 0) {
            --depth;
        } else if (depth == 0) {
            out += c;
        }
    }
}

} // namespace

void ReadPgnTags(PgnTags& tags, std::string_view line) {
    size_t i = 0;
    while ((i = line.find('[', i)) != std::string_view::npos) {
        size_t quote = line.find('"', i);
        if (quote == std::string_view::npos) return;
        std::string_view name = line.substr(i + 1, quote - i - 1);
        while (!name.empty() && IsBlankChar(name.front())) name.remove_prefix(1);
        while (!name.empty() && IsBlankChar(name.back())) name.remove_suffix(1);
        // The value runs to the closing quote; \" and \\ stand for the character.
        std::string value;
        size_t k = quote + 1;
        for (; k < line.size() && line[k] != '"'; ++k) {
            if (line[k] == '\\' && k + 1 < line.size()) ++k;
            if (value.size() < 512) value += line[k];
        }
        StoreTag(tags, name, value);
        i = k;
    }
}

bool PgnReader::ReadLine(Line& line) {
    line.text.clear();
    line.continued = !previousEndedLine_;
    line.endsLine = false;
    if (!file_) return false;
    if (!started_) {
        started_ = true;
        int a = std::getc(file_);
        if (a == 0xEF) {
            int b = std::getc(file_), c = std::getc(file_);
            if (b != 0xBB || c != 0xBF) {
                // Not a byte-order mark: keep the bytes.
                line.text += char(a);
                if (b != EOF) line.text += char(b);
                if (c != EOF) line.text += char(c);
            } else {
                position_ = 3;
            }
        } else if (a != EOF) {
            std::ungetc(a, file_);
        }
    }
    line.offset = position_;
    int c = EOF;
    while (line.text.size() < size_t(PgnLineSize - 1) && (c = std::getc(file_)) != EOF) {
        ++position_;
        if (c == '\n') break;
        if (c == '\r') {
            int next = std::getc(file_);
            if (next == '\n')
                ++position_;
            else if (next != EOF)
                std::ungetc(next, file_);
            c = '\n';
            break;
        }
        line.text += c == '\0' ? ' ' : char(c);
    }
    line.endsLine = c == '\n' || c == EOF;
    previousEndedLine_ = line.endsLine;
    return c != EOF || !line.text.empty();
}

bool PgnReader::SeekToGame(int64_t offset) {
    if (!file_ || offset < 0 || std::fseek(file_, long(offset), SEEK_SET) != 0) return false;
    position_ = offset;
    started_ = offset > 0; // a byte-order mark is looked for only at the file's start
    previousEndedLine_ = true;
    havePending_ = false;
    return true;
}

// The next line that is not an escape line ('%' in the first column).
bool PgnReader::NextLine(Line& line) {
    if (havePending_) {
        havePending_ = false;
        line = pending_;
        return true;
    }
    while (ReadLine(line)) {
        if (line.continued || line.text.empty() || line.text[0] != '%') return true;
        while (!line.endsLine && ReadLine(line)) {
        } // the rest of a long escape line
    }
    return false;
}

bool PgnReader::NextGame(PgnTags& tags, std::string& moveText) {
    tags = PgnTags{};
    moveText.clear();
    Line line;
    do {
        if (!NextLine(line)) return false;
    } while (IsBlankLine(line.text));
    gameOffset_ = line.offset;

    if (IsTagLine(line.text)) {
        // The tag block: tag lines, with blank lines allowed between them.
        for (;;) {
            if (!line.continued) ReadPgnTags(tags, line.text);
            if (!NextLine(line)) return true;
            if (line.continued || IsBlankLine(line.text) || IsTagLine(line.text)) continue;
            break; // the first line of move text (not lost when no blank line precedes it)
        }
    }

    int braceDepth = 0;
    bool full = false;
    bool lineComment = false;
    std::string kept;
    for (;;) {
        kept.clear();
        if (!line.continued) lineComment = false;
        if (!lineComment) AppendWithoutComments(kept, line.text, braceDepth, lineComment);
        if (line.endsLine) kept += '\n';
        if (!full && moveText.size() + kept.size() > size_t(PgnMoveTextSize - 1))
            full = true; // the rest of this game is read past, not kept
        if (!full) moveText += kept;
        if (!NextLine(line)) break;
        // An unterminated comment ends at the next game's Event tag, not at the file's end.
        if (!line.continued && IsTagLine(line.text) &&
            (braceDepth == 0 || line.text.rfind("[Event ", 0) == 0)) {
            pending_ = line;
            havePending_ = true;
            break;
        }
    }
    return true;
}

int ReadPgnGameText(std::FILE* file, int n, std::string& text, PgnTags& tags) {
    PgnReader reader(file);
    for (int i = 1; i <= n; ++i)
        if (!reader.NextGame(tags, text)) return i - 1;
    return n;
}

int ReadPgnGameIndexed(PgnFileIndex& index, const char* fileName, int n, std::string& text,
                       PgnTags& tags) {
    struct stat info;
    if (n < 1 || stat(fileName, &info) != 0) return 0;
    const int64_t modified = int64_t(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    if (index.fileName != fileName || index.fileSize != info.st_size ||
        index.modified != modified) {
        index = PgnFileIndex{};
        index.fileName = fileName;
        index.fileSize = info.st_size;
        index.modified = modified;
    }
    const int known = int(index.offsets.size());
    if (index.complete && n > known) return known;
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return 0;
    PgnReader reader(file);
    // From the nearest game already found at or before n.
    int read = std::min(n, known) - 1;
    if (read < 0 || !reader.SeekToGame(index.offsets[size_t(read)])) read = 0;
    int found = n;
    while (read < n) {
        if (!reader.NextGame(tags, text)) {
            index.complete = true;
            found = read;
            break;
        }
        if (++read > int(index.offsets.size())) index.offsets.push_back(reader.GameOffset());
    }
    std::fclose(file);
    return found;
}

int LoadPgnGame(const char* fileName, int n, bool show) {
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) return 0;
    PgnTags tags;
    std::string text;
    int found = ReadPgnGameText(file, n, text, tags);
    std::fclose(file);
    if (found < n || n < 1) return found;

    Position start;
    CastleInfo castleInfo = gameCastleInfo;
    const char* fen = tags.fen[0] ? tags.fen : StartFen;
    // An invalid or cut FEN loads nothing (the reader shows why); the moves are not replayed
    // onto whatever position happens to be current.
    if (tags.fenCut) {
        reporter().statusText("The game's FEN tag is too long.");
        return 0;
    }
    if (!SetPositionFromFen(start, fen, &castleInfo)) return 0;
    StartGameRecord(start); // copies castleInfo into the game's
    ParseMoveList(gameRecord, text, gamePosition);
    if (tags.currentPly >= 0) GoToPly(gameRecord, gamePosition, tags.currentPly);
    reporter().moveListChanged();
    reporter().boardChanged();

    if (show) {
        char message[PgnLineSize];
        std::snprintf(message, sizeof message,
                      "Game %d\nEvent: %s\nTime Control: %s\nWhite: %s\nBlack: %s\nResult: %s\n", n,
                      tags.event, tags.timeControl, tags.white, tags.black, tags.result);
        reporter().statusText(message);
    }
    return n;
}

} // namespace corvid
