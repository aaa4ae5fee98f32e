// The engine's one way of talking to the desktop. The engine never calls the window code: it
// reports through this interface, which the desktop implements (posting everything to its window
// thread) and which the protocol modes leave at the silent default.
#pragma once

namespace corvid {

class UiReporter {
public:
    virtual ~UiReporter() = default;
    // Status line text (set-up panel when open, else the side panel).
    virtual void statusText(const char* /*text*/) {}
    // The game position or record changed and the board should be redrawn.
    virtual void boardChanged() {}
    // The move list of the game record changed.
    virtual void moveListChanged() {}
    // A line of search information for the analysis pane.
    virtual void searchInfo(const char* /*text*/) {}
    // A modal message box.
    virtual void messageBox(const char* /*title*/, const char* /*text*/) {}
    // The piece type (1 knight, 2 bishop, 3 rook, 4 queen) for a promotion the user's move did
    // not name; the desktop asks with its "Pawn" dialog. Without a window: the queen.
    virtual int promotionPiece() { return 4; }
};

// The active reporter: the silent default until the desktop installs its own. Safe to call
// from the search thread.
UiReporter& uiReporter();
void setUiReporter(UiReporter* reporter);

} // namespace corvid
