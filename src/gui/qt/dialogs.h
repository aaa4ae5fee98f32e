// The desktop's modal dialogs and its panes beyond the board: each builder returns the dialog
// filled from its model (tests drive it before it runs); installDialogs registers the commands
// that open them and adds the set-up panel and the analysis pane's controls to the window.
#pragma once

#include <memory>

class QDialog;

namespace corvid {

class MainWindow;

// "TimeSet", "SearchSet", "PLAYER", "WINBOARD" (winboard) or "GUIGAME", and "BOOK".
std::unique_ptr<QDialog> buildTimeDialog(MainWindow& window);
std::unique_ptr<QDialog> buildSearchSettingsDialog(MainWindow& window);
std::unique_ptr<QDialog> buildPlayerDialog(MainWindow& window);
std::unique_ptr<QDialog> buildGamePreferencesDialog(MainWindow& window, bool winboard);
std::unique_ptr<QDialog> buildBookEditor(MainWindow& window);

// Commands 61, 312, 40023, 40065, 40066, 40054 and the set-up panel (46); the set-up panel
// "BOARDSET" and the analysis pane's "+", "-", "Copy" and line count.
void installDialogs(MainWindow& window);

// The set-up panel and the analysis pane's controls (installDialogs calls them).
void installSetupPanel(MainWindow& window);
void installAnalysisPaneControls(MainWindow& window);

} // namespace corvid
