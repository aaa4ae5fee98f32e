// The window's search display: the search information in the side panel, the analysis pane's
// lines, the line marks and the evaluation bar on the board, and the Develop menu's displays
// (move info, evaluation, quiescence search, table entry, square and king details).
#pragma once

namespace corvid {

class MainWindow;

// Hooks the display into the window's report events, commands and right clicks.
void installSearchView(MainWindow& window);

} // namespace corvid
