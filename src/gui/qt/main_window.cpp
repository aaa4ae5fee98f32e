#include "gui/qt/main_window.h"

#include "gui/logic/command_ids.h"
#include "gui/logic/desktop.h"
#include "gui/logic/game_status.h"
#include "gui/logic/move_list.h"
#include "gui/qt/board_view.h"
#include "gui/qt/command_ports.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/piece_images.h"
#include "gui/qt/promotion_dialog.h"
#include "gui/qt/report_queue.h"
#include "gui/qt/search_view.h"
#include "gui/qt/side_panel.h"
#include "gui/qt/test_match_command.h"
#include "gui/qt/window_dialog_services.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

namespace corvid {

namespace {

// The client area: lays its children out by the window's geometry rules on every resize.
class ClientArea : public QWidget {
public:
    explicit ClientArea(std::function<void()> onResize) : onResize_(std::move(onResize)) {}

protected:
    void resizeEvent(QResizeEvent*) override { onResize_(); }

private:
    std::function<void()> onResize_;
};

constexpr int ClockPeriodMs = 200;
// The search display's refresh period: a fast search's reports are shown together.
constexpr qint64 SearchRefreshMs = 100;

} // namespace

MainWindow::MainWindow(bool endsProcess, QWidget* parent)
    : QMainWindow(parent), endsProcess_(endsProcess) {
    std::error_code error;
    startDirectory_ = std::filesystem::current_path(error).string();
    setObjectName("CorvidClass");
    setWindowIcon(QIcon(QPixmap::fromImage(programIcon(64))));
    client_ = new ClientArea([this] { layOut(); });
    setCentralWidget(client_);
    board_ = new BoardView(state_, client_);
    panel_ = new SidePanel(client_);
    buildAnalysisPane();
    buildMenus();

    qtDialogServices_ = std::make_unique<WindowDialogServices>(*this);
    dialogServices_ = qtDialogServices_.get();
    showMessage = [this](const QString& title, const QString& text) {
        QMessageBox::information(this, title, text);
    };
    choosePromotion = [this] { return askPromotionPiece(this, state_.game.sideToMove); };
    beep = [] { QApplication::beep(); };

    registerWindowCommands(dispatcher_, state_, [this] { close(); });
    installGameCommands(*this);
    dispatcher_.on(cmd::AnalysisWindow,
                   [this](int) { setAnalysisPaneOpen(!state_.analysisPaneOpen); });
    dispatcher_.on(cmd::SizeWindowToDefault, [this](int) { sizeToDefault(); });
    installSearchView(*this);
    installTestMatchCommand(*this);
    installDialogs(*this);

    connect(board_, &BoardView::boardInput, this, [this] { refresh(); });
    connect(panel_, &SidePanel::command, this, [this](int id) {
        runCommand(cmd::panelButtonCommand(id));
        board_->setFocus();
    });
    connect(panel_, &SidePanel::moveListChosen, this, [this](int entry) {
        goToMoveListEntry(state_, entry);
        refresh();
        board_->setFocus();
    });

    // Reports from any thread are queued for this window's thread; the reporter is detached
    // before the window goes, so nothing is pushed to a window that no longer exists.
    reports_ = new ReportQueue([this](const DesktopEvent& event) { handleEvent(event); }, this);
    desktopReporter().attach(
        [queue = reports_](DesktopEvent&& event) { queue->push(std::move(event)); },
        [this] { return choosePromotion ? choosePromotion() : Queen; });
    installDesktopReporter();

    timer_ = new QTimer(this);
    connect(timer_, &QTimer::timeout, this, [this] { tick(); });
    timer_->start(ClockPeriodMs);

    updateMinimumSize();
    client_->resize(DefaultClientWidth, DefaultClientHeight);
    resize(DefaultClientWidth, DefaultClientHeight + menuBar()->sizeHint().height());
}

MainWindow::~MainWindow() { desktopReporter().detach(); }

void MainWindow::start() {
    startFirstGame(state_);
    if (analysisPaneWanted()) setAnalysisPaneOpen(true);
    sizeToDefault();
    refresh();
    show();
    board_->setFocus();
}

void MainWindow::buildMenus() {
    // The menu bar's menus first; a submenu is created where the table places it.
    std::vector<QMenu*> built;
    for (const MenuInfo& m : menus())
        built.push_back(m.parent < 0 ? menuBar()->addMenu(QString::fromUtf8(m.title))
                                     : new QMenu(QString::fromUtf8(m.title), this));
    for (const CommandEntry& entry : commandTable()) {
        QMenu* menu = built[size_t(entry.menu)];
        if (entry.id == 0) {
            if (entry.submenu >= 0)
                menu->addMenu(built[size_t(entry.submenu)]);
            else
                menu->addSeparator();
            continue;
        }
        QAction* a = menu->addAction(QString::fromUtf8(entry.caption));
        a->setObjectName(controlName(entry.id));
        a->setCheckable(entry.checkable);
        const int id = entry.id;
        connect(a, &QAction::triggered, this, [this, id] { runCommand(id); });
        actions_[id] = a;
    }
}

void MainWindow::buildAnalysisPane() {
    pane_ = new QWidget(client_);
    pane_->setObjectName("ANALYSIS");
    pane_->setAutoFillBackground(true);
    paneText_ = new QPlainTextEdit(pane_);
    paneText_->setObjectName(controlName(106));
    paneText_->setReadOnly(true);
    paneText_->setFocusPolicy(Qt::NoFocus);
    auto* close = new QPushButton("X", pane_);
    close->setObjectName(controlName(1045));
    close->setFocusPolicy(Qt::NoFocus);
    connect(close, &QPushButton::clicked, this, [this] {
        setAnalysisPaneOpen(false);
        board_->setFocus();
    });
    pane_->hide();
}

QAction* MainWindow::action(int id) const {
    auto it = actions_.find(id);
    return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::runCommand(int id) {
    dispatcher_.dispatch(id);
    if (!closing_) refresh();
}

void MainWindow::setStatusText(const QString& text) {
    state_.statusText = text.toStdString();
    if (statusOverride && statusOverride(text)) return;
    panel_->setStatusText(text);
}

void MainWindow::setAnalysisPaneOpen(bool open) {
    state_.analysisPaneOpen = open;
    updateMinimumSize();
    layOut();
}

void MainWindow::sizeToDefault() {
    if (isMaximized() || isMinimized()) showNormal();
    const int height = DefaultClientHeight + (state_.analysisPaneOpen ? 117 : 0);
    resize(DefaultClientWidth, height + menuBar()->sizeHint().height());
}

void MainWindow::updateMinimumSize() {
    // Besides the smallest board, the client area keeps room for every row of the side panel
    // (above the analysis pane when open) or of the set-up panel: squeezed below that, the rows
    // are drawn over each other.
    const bool pane = state_.analysisPaneOpen;
    int panel = panel_->minimumSizeHint().height() + (pane ? AnalysisPaneHeight - 1 : 0);
    if (state_.setupMode && setupPanel_)
        panel = qMax(panel, setupPanel_->minimumSizeHint().height());
    client_->setMinimumSize(minimumClientWidth(), qMax(minimumClientHeight(pane), panel));
}

void MainWindow::layOut() {
    state_.layout = computeLayout(client_->width(), client_->height(), state_.analysisPaneOpen);
    const WindowLayout& l = state_.layout;
    const int boardHeight = l.analysisPane ? l.analysis.y : l.clientHeight;
    board_->setGeometry(0, 0, qMax(l.sidePanel.x, 1), qMax(boardHeight, 1));
    panel_->setGeometry(l.sidePanel.x, l.sidePanel.y, l.sidePanel.width, l.sidePanel.height);
    pane_->setVisible(l.analysisPane);
    if (l.analysisPane) {
        pane_->setGeometry(l.analysis.x, l.analysis.y, l.analysis.width, l.analysis.height);
        paneText_->setGeometry(l.analysisText.x, l.analysisText.y, l.analysisText.width,
                               l.analysisText.height);
        if (auto* close = pane_->findChild<QPushButton*>(controlName(1045)))
            close->setGeometry(l.analysisClose.x, l.analysisClose.y, l.analysisClose.width,
                               l.analysisClose.height);
    }
    board_->update();
    for (const auto& listener : refreshListeners_) listener();
}

void MainWindow::addRefreshListener(std::function<void()> listener) {
    refreshListeners_.push_back(std::move(listener));
}

void MainWindow::setDialogServices(DialogServices* dialogs) {
    dialogServices_ = dialogs ? dialogs : qtDialogServices_.get();
}

void MainWindow::addEventListener(std::function<void(const DesktopEvent&)> listener) {
    listeners_.push_back(std::move(listener));
}

void MainWindow::handleEvent(const DesktopEvent& event) {
    if (closing_) return;
    if (event.kind == DesktopEventKind::SearchReports) {
        // The window shows the search at most every SearchRefreshMs: a batch that comes sooner
        // waits (and goes on collecting the search's reports) until then.
        flushSearchReports();
        const qint64 since = searchRefresh_.isValid() ? searchRefresh_.elapsed() : SearchRefreshMs;
        if (since >= SearchRefreshMs) {
            showSearchReports(event.batch);
            return;
        }
        waitingReports_ = event.batch;
        QTimer::singleShot(int(SearchRefreshMs - since), this, [this] { flushSearchReports(); });
        return;
    }
    // Whatever came after the waiting reports is shown after them.
    flushSearchReports();
    switch (event.kind) {
    case DesktopEventKind::Game:
        showGame(state_, *event.game);
        refresh();
        break;
    case DesktopEventKind::Status:
        setStatusText(QString::fromStdString(event.text));
        break;
    case DesktopEventKind::Message:
        refresh();
        if (showMessage)
            showMessage(QString::fromStdString(event.title), QString::fromStdString(event.text));
        refresh();
        break;
    default:
        break;
    }
    for (const auto& listener : listeners_) listener(event);
}

void MainWindow::showSearchReports(const std::shared_ptr<SearchBatch>& batch) {
    searchRefresh_.restart();
    // The batch's lines in order, then the latest figures.
    SearchBatch::Contents reports = batch->take();
    DesktopEvent each;
    each.kind = DesktopEventKind::SearchLines;
    for (auto& report : reports.lines) {
        each.search = std::move(report);
        handleEvent(each);
    }
    if (reports.progress) {
        each.kind = DesktopEventKind::SearchProgress;
        each.search = std::move(reports.progress);
        handleEvent(each);
    }
}

void MainWindow::flushSearchReports() {
    if (!waitingReports_) return;
    std::shared_ptr<SearchBatch> batch = std::move(waitingReports_);
    waitingReports_.reset();
    if (!closing_) showSearchReports(batch);
}

void MainWindow::refreshGamePanel() {
    panel_->setNames(QString::fromStdString(state_.whiteName),
                     QString::fromStdString(state_.blackName));
    panel_->setMoveList(moveListEntries(state_.game), moveListSelection(state_.game));
    panel_->setGameStatus(QString::fromStdString(moveNumberText(state_.game)),
                          QString::fromStdString(materialSurplus(state_.game, White)),
                          QString::fromStdString(materialSurplus(state_.game, Black)));
    panel_->setBoardMode(state_.boardMode);
}

void MainWindow::refreshChecks() {
    for (const auto& [id, a] : actions_)
        if (a->isCheckable()) a->setChecked(commandChecked(id, state_));
}

void MainWindow::refresh() {
    if (state_.analysisPaneOpen != state_.layout.analysisPane)
        setAnalysisPaneOpen(state_.analysisPaneOpen);
    refreshGamePanel();
    updateMinimumSize(); // set-up may have begun or ended, the panel's texts have changed
    refreshChecks();
    setWindowTitle(QString::fromStdString(gameWindowTitle(state_)));
    tick();
    board_->update();
    for (const auto& listener : refreshListeners_) listener();
}

void MainWindow::tick() {
    ClockTick t = clockTick(state_);
    panel_->setClocks(t.reading, clocksHighlighted());
    if (t.notice.empty()) return;
    if (beep) beep();
    setStatusText(QString::fromStdString(t.notice));
    setWindowTitle(QString::fromStdString(gameWindowTitle(state_)));
}

void MainWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    char c = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) c = char('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9) c = char('0' + (key - Qt::Key_0));
    if (!c) {
        QMainWindow::keyPressEvent(event);
        return;
    }
    pressKey(state_, c, event->modifiers() & Qt::ControlModifier, dispatcher_);
    if (!closing_) refresh();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    closing_ = true;
    timer_->stop();
    desktopReporter().detach();
    if (endsProcess_)
        shutDownDesktop(startDirectory_);
    else
        leaveWithoutExit();
    event->accept();
}

} // namespace corvid
