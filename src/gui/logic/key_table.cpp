#include "gui/logic/key_table.h"

#include "chess/types.h"
#include "gui/logic/command_ids.h"

#include <algorithm>

namespace corvid {

namespace {

struct KeyCommand {
    char key;
    int alone;       // without Control
    int withControl; // with Control (0: the same as alone)
};

constexpr KeyCommand Keys[] = {
    {'1', cmd::BookValueFirst, 0},
    {'2', cmd::BookValueFirst + 1, 0},
    {'3', cmd::BookValueFirst + 2, 0},
    {'4', cmd::BookValueFirst + 3, 0},
    {'5', cmd::BookValueFirst + 4, 0},
    {'6', cmd::BookRemovePosition, 0},
    {'A', cmd::BlackKingDetails, 0},
    {'Z', cmd::WhiteKingDetails, cmd::UndoLastPaste},
    {'C', cmd::CopyPosition, cmd::CopyTranscript},
    {'V', cmd::PastePosition, cmd::PasteTranscript},
    {'E', cmd::DisplayEval, 0},
    {'F', cmd::DisplayMoveInfo, 0},
    {'H', cmd::ClearHash, 0},
    {'K', cmd::PreviousPgnGame, 0},
    {'L', cmd::NextPgnGame, 0},
    {'Q', cmd::DisplayQSearch, 0},
    {'S', cmd::SetupBoard, 0},
    {'T', cmd::DisplayTtEntry, 0},
    {'X', cmd::Experiment, 0},
};

constexpr PieceCode SetupPieces[12] = {
    MakePiece(White, King),   MakePiece(White, Queen),  MakePiece(White, Rook),
    MakePiece(White, Bishop), MakePiece(White, Knight), MakePiece(White, Pawn),
    MakePiece(Black, King),   MakePiece(Black, Queen),  MakePiece(Black, Rook),
    MakePiece(Black, Bishop), MakePiece(Black, Knight), MakePiece(Black, Pawn),
};

} // namespace

int commandForKey(char key, bool control) {
    if (key >= 'a' && key <= 'z') key = char(key - 'a' + 'A');
    for (const KeyCommand& k : Keys)
        if (k.key == key) return control && k.withControl ? k.withControl : k.alone;
    return 0;
}

int setupPieceCode(int button) {
    if (button < FirstSetupPiece || button > LastSetupPiece) button = FirstSetupPiece;
    return SetupPieces[button - FirstSetupPiece];
}

bool isSetupKey(char key) {
    if (key >= 'a' && key <= 'z') key = char(key - 'a' + 'A');
    return key == 'W' || key == 'A' || key == 'S' || key == 'D';
}

int setupButtonAfterKey(int button, char key) {
    if (key >= 'a' && key <= 'z') key = char(key - 'a' + 'A');
    button = std::clamp(button, FirstSetupPiece, LastSetupPiece);
    const int kind = (button - FirstSetupPiece) % 6;
    switch (key) {
    case 'W':
        return std::max(button - 1, FirstSetupPiece);
    case 'S':
        return std::min(button + 1, LastSetupPiece);
    case 'A':
        return FirstSetupPiece + kind;
    case 'D':
        return FirstSetupPiece + 6 + kind;
    default:
        return button;
    }
}

} // namespace corvid
