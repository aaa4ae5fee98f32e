// The analysis pane's "+" and "-" (lines searched while analysing), its line count and "Copy".
#include "gui/logic/analysis_lines.h"
#include "gui/qt/board_view.h"
#include "gui/qt/dialog_view.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/main_window.h"

#include <QLabel>
#include <QPushButton>

namespace corvid {

void installAnalysisPaneControls(MainWindow& window) {
    QWidget* pane = window.analysisPane();
    auto* lines =
        makeLabel(pane, QString::fromStdString(analysisLineCountText()), analysispane::LinesLabel);
    lines->setGeometry(56, 4, 20, 17);
    lines->setAlignment(Qt::AlignCenter);
    auto addButton = [&](int id, const char* caption, int x, int width,
                         std::function<void()> action) {
        QPushButton* b = makeButton(pane, id, caption);
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(x, 2, width, 21);
        QObject::connect(b, &QPushButton::clicked, pane, [&window, action = std::move(action)] {
            action();
            window.refresh();
            window.boardView()->setFocus();
        });
    };
    addButton(analysispane::Plus, "+", 4, 24,
              [&window] { changeAnalysisLines(window.state(), 1); });
    addButton(analysispane::Minus, "-", 30, 24,
              [&window] { changeAnalysisLines(window.state(), -1); });
    // The copy itself is the analysis-copy command of the Edit commands.
    addButton(analysispane::Copy, "Copy", 80, 50,
              [&window] { window.dispatcher().dispatch(analysispane::Copy); });
    window.addRefreshListener(
        [lines] { lines->setText(QString::fromStdString(analysisLineCountText())); });
}

} // namespace corvid
