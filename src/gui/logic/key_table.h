// The keyboard shortcuts: each key of the board window leads to a command id; in set-up mode
// W, A, S and D move through the set-up panel's twelve piece buttons instead.
#pragma once

namespace corvid {

// The command for a key (an upper-case letter or a digit) with or without Control, 0 for
// none. S toggles set-up mode in play (in set-up mode it is a piece shortcut).
int commandForKey(char key, bool control);

// Set-up panel piece buttons: 130..135 white King, Queen, Rook, Bishop, Knight, Pawn; 136..141
// the black ones. The piece code each button stands for.
constexpr int FirstSetupPiece = 130, LastSetupPiece = 141, DefaultSetupPiece = 135;
int setupPieceCode(int button);
// True when the key is one of the set-up shortcuts (W, A, S, D); the button it selects from
// the current one: W the previous, S the next (never past the ends), A the white piece of the
// same kind, D the black one.
bool isSetupKey(char key);
int setupButtonAfterKey(int button, char key);

} // namespace corvid
