#include "gui/qt/search_view.h"

#include "gui/logic/develop_displays.h"
#include "gui/logic/search_display.h"
#include "gui/qt/board_view.h"
#include "gui/qt/main_window.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <memory>

namespace corvid {

namespace {

std::vector<SquareMark> squareMarks(const BoardMarks& marks) {
    std::vector<SquareMark> frames;
    frames.reserve(marks.size());
    for (const BoardMark& mark : marks) frames.push_back({mark.square, QColor::fromRgb(mark.rgb)});
    return frames;
}

void apply(MainWindow& window, const SearchDisplayUpdate& update) {
    if (update.status) window.setStatusText(QString::fromStdString(*update.status));
    if (update.pane) {
        QPlainTextEdit* pane = window.analysisText();
        const QString text = QString::fromStdString(*update.pane);
        if (text != pane->toPlainText()) pane->setPlainText(text);
        QScrollBar* bar = pane->verticalScrollBar();
        bar->setValue(update.scrollToEnd ? bar->maximum() : bar->minimum());
    }
    if (update.marks) window.boardView()->setMarks(squareMarks(*update.marks));
}

void showBar(MainWindow& window, const SearchDisplay& display) {
    window.boardView()->setEvalBarShare(display.barShare().value_or(0.5));
}

} // namespace

void installSearchView(MainWindow& window) {
    auto display = std::make_shared<SearchDisplay>();
    MainWindow* w = &window;
    window.addEventListener([w, display](const DesktopEvent& event) {
        switch (event.kind) {
        case DesktopEventKind::SearchProgress:
            apply(*w, display->progress(event.search->report, w->state()));
            break;
        case DesktopEventKind::SearchLines:
            apply(*w, display->lines(event.search->report, w->state()));
            break;
        case DesktopEventKind::PonderMove:
            display->ponderMove(event.text);
            break;
        case DesktopEventKind::Game:
            // A changed game is drawn afresh: the marks of the old position go.
            if (event.game->moveCount == 0 && event.game->ply == event.game->startPly)
                display->reset();
            w->boardView()->setMarks({});
            break;
        default:
            return;
        }
        showBar(*w, *display);
    });

    DisplaySink sink;
    sink.showText = [w](const std::string& text) {
        w->setStatusText(QString::fromStdString(text));
    };
    sink.showMarks = [w](const BoardMarks& marks) { w->boardView()->setMarks(squareMarks(marks)); };
    registerDevelopDisplays(window.dispatcher(), sink);
    window.boardView()->squareDetails = [sink](int square) { showSquareDetails(square, sink); };
    registerEvalBarCommand(window.dispatcher());
}

} // namespace corvid
