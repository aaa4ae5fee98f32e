#include "book/book_builder.h"

#include "book/book_file.h"
#include "chess/fen.h"
#include "chess/move_text.h"
#include "chess/pgn.h"
#include "platform/engine_reporter.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

namespace corvid {

namespace {

// Game result codes from the Result tag.
constexpr int ResultWhiteWon = 2, ResultBlackWon = 1, ResultOther = 3;

int resultCode(const char* result) {
    if (std::strstr(result, "1-0")) return ResultWhiteWon;
    if (std::strstr(result, "0-1")) return ResultBlackWon;
    return ResultOther;
}

// Whether the position, reached by the move of the side not to move, counts for the sides.
bool counts(int sides, int result, int sideToMove) {
    if ((sides & BookFromDrawing) && result == ResultOther) return true;
    bool moverWon = (sideToMove == Black && result == ResultWhiteWon) ||
                    (sideToMove == White && result == ResultBlackWon);
    bool moverLost = (sideToMove == Black && result == ResultBlackWon) ||
                     (sideToMove == White && result == ResultWhiteWon);
    return ((sides & BookFromWinning) && moverWon) || ((sides & BookFromLosing) && moverLost);
}

// A FEN tag that sets up anything but the standard start position: its moves do not belong
// to games from the start.
bool startsElsewhere(const PgnTags& tags, const Position& start) {
    if (tags.variant[0] && std::strcmp(tags.variant, "Standard") != 0 &&
        std::strcmp(tags.variant, "standard") != 0)
        return true;
    if (tags.fenCut) return true;
    if (!tags.fen[0]) return false;
    Position position;
    CastleInfo castleInfo;
    return !SetPositionFromFen(position, tags.fen, &castleInfo) || position.key != start.key;
}

bool isReadableFile(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

BookBuildParameters ClampedBuildParameters(BookBuildParameters p) {
    p.sides &= BookFromWinning | BookFromDrawing | BookFromLosing;
    p.fromMove = std::clamp(p.fromMove, 1, 30);
    p.upToMove = std::clamp(p.upToMove, 1, 30);
    p.maxGames = std::max(p.maxGames, 1);
    p.minOccurrences = std::max(p.minOccurrences, 1);
    return p;
}

int BuildBookFromPgn(OpeningBook& book, const std::string& fileName,
                     const BookBuildParameters& parameters) {
    std::FILE* file = isReadableFile(fileName) ? std::fopen(fileName.c_str(), "rb") : nullptr;
    if (!file) return 0;
    CastleInfo castleInfo;
    Position start;
    SetPositionFromFen(start, StartFen, &castleInfo);
    // A private record: the game shown is left alone.
    auto record = std::make_unique<GameRecord>();
    PgnReader reader(file);
    PgnTags tags;
    std::string moveText;
    bool full = false;
    int counter = 1;
    while (counter <= parameters.maxGames && reader.NextGame(tags, moveText)) {
        if (!startsElsewhere(tags, start)) {
            Position position = start;
            record->moveCount = 0;
            ParseMoveList(*record, moveText, position);
            const int result = resultCode(tags.result);
            position = start;
            const int plies = std::min(2 * parameters.upToMove, int(record->moveCount));
            for (int k = 0; k < plies; ++k) {
                const char* entry = record->entries[k];
                ParseAndPlayMove(std::string_view(entry, strnlen(entry, MoveTextSize)), position,
                                 false, *record);
                if (k < 2 * parameters.fromMove - 2) continue;
                if (!counts(parameters.sides, result, position.sideToMove)) continue;
                BookAddResult added = BookAddQuiet(book, ComputeKey(position), BookOccurrenceValue);
                full |= added == BookAddResult::Full;
            }
        }
        ++counter;
        if (counter % 8 == 0) {
            char text[16];
            std::snprintf(text, sizeof text, "%d", counter);
            reporter().statusText(text);
        }
    }
    std::fclose(file);
    if (full) reporter().statusText("Book Full!");
    return counter;
}

int AddPgnToBook(OpeningBook& book, const std::string& fileName,
                 const BookBuildParameters& parameters) {
    int counter = BuildBookFromPgn(book, fileName, parameters);
    reporter().statusText("Building opening book....");
    BookKeepFrequent(book, parameters.minOccurrences);
    reporter().statusText("Finished Adding .PGN");
    return counter;
}

} // namespace corvid
