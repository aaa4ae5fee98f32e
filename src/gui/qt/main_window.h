// The desktop's main window: the board on the left, the side panel on the right, the optional
// analysis pane along the bottom, and the menu bar built from the command table. Reports of
// the engine arrive here queued on the window thread; commands from menus, buttons and keys
// go through one dispatcher keyed by command id.
#pragma once

#include "gui/logic/command_table.h"
#include "gui/logic/desktop_reporter.h"
#include "gui/logic/dialog_services.h"
#include "gui/logic/window_state.h"

#include <QElapsedTimer>
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QAction;
class QPlainTextEdit;
class QTimer;

namespace corvid {

class BoardView;
class ReportQueue;
class SidePanel;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // endsProcess: closing the window ends the program (stops and joins the search thread and
    // writes the settings files); off in tests, which open many windows in one process.
    explicit MainWindow(bool endsProcess, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Starts the first game and shows the window (the start-up's last steps).
    void start();

    WindowState& state() { return state_; }
    CommandDispatcher& dispatcher() { return dispatcher_; }
    BoardView* boardView() const { return board_; }
    SidePanel* sidePanel() const { return panel_; }
    QWidget* analysisPane() const { return pane_; }
    QPlainTextEdit* analysisText() const { return paneText_; }
    // The menu item of a command id (nullptr when it has none).
    QAction* action(int id) const;

    // Runs a command as if chosen from the menu, then refreshes the window.
    void runCommand(int id);
    // The status line (the set-up panel's when one is shown, else the side panel's).
    void setStatusText(const QString& text);
    // Opens or closes the analysis pane and lays the window out again.
    void setAnalysisPaneOpen(bool open);
    // The client size of "Size Window to Default".
    void sizeToDefault();
    // Redraws the board, the panel texts, the check marks and the title from the state.
    void refresh();

    // Further receivers of the engine's reports (the search display, the panes).
    void addEventListener(std::function<void(const DesktopEvent&)> listener);
    // Called after every refresh and layout (panes that follow the window state).
    void addRefreshListener(std::function<void()> listener);
    // The panel shown over the side panel in board set-up: the window keeps room for its rows
    // while set-up lasts.
    void setSetupPanel(QWidget* panel) { setupPanel_ = panel; }
    // The file pickers, question and message boxes of the dialogs: Qt's own (message boxes
    // through showMessage), unless a test gives others (nullptr returns to Qt's).
    DialogServices& dialogServices() { return *dialogServices_; }
    void setDialogServices(DialogServices* dialogs);
    // Replaceable for tests: message boxes, the promotion question, the beep.
    std::function<void(const QString& title, const QString& text)> showMessage;
    std::function<int()> choosePromotion;
    std::function<void()> beep;
    // Where status texts go instead of the side panel (the set-up panel, when open).
    std::function<bool(const QString& text)> statusOverride;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildAnalysisPane();
    void handleEvent(const DesktopEvent& event);
    void showSearchReports(const std::shared_ptr<SearchBatch>& batch);
    void flushSearchReports();
    void layOut();
    void updateMinimumSize();
    void tick();
    void refreshChecks();
    void refreshGamePanel();

    const bool endsProcess_;
    std::string startDirectory_;
    WindowState state_;
    CommandDispatcher dispatcher_;
    QWidget* client_;
    BoardView* board_;
    SidePanel* panel_;
    QWidget* setupPanel_ = nullptr;
    QWidget* pane_;
    QPlainTextEdit* paneText_;
    QTimer* timer_;
    ReportQueue* reports_;
    std::map<int, QAction*> actions_;
    std::vector<std::function<void(const DesktopEvent&)>> listeners_;
    std::vector<std::function<void()>> refreshListeners_;
    std::unique_ptr<DialogServices> qtDialogServices_;
    DialogServices* dialogServices_;
    std::shared_ptr<SearchBatch> waitingReports_; // shown when its refresh period is due
    QElapsedTimer searchRefresh_;                 // since the search display was last shown
    bool closing_ = false;
};

} // namespace corvid
