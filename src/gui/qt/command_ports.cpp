#include "gui/qt/command_ports.h"

#include "gui/qt/main_window.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <filesystem>

namespace corvid {

ClipboardWrite QtClipboard::writeText(const std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return ClipboardWrite::CannotOpen;
    clipboard->setText(QString::fromStdString(text));
    return ClipboardWrite::Done;
}

bool QtClipboard::readText(std::string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    const QString content = clipboard->text();
    if (content.isEmpty()) return false;
    text = content.toStdString();
    return true;
}

CommandPorts::CommandPorts(MainWindow& window) : QObject(&window), window_(window) {
    setObjectName("commandPorts");
    std::error_code error;
    commands_ = std::make_unique<GameCommands>(
        window.state(), clipboard_,
        [&window]() -> DialogServices& { return window.dialogServices(); },
        std::filesystem::current_path(error).string());
    commands_->analysisLines = [&window] {
        return window.analysisText() ? window.analysisText()->toPlainText().toStdString()
                                     : std::string();
    };
    registerGameCommands(window.dispatcher(), *commands_);
    window.addEventListener([this](const DesktopEvent& event) {
        if ((event.kind == DesktopEventKind::SearchLines ||
             event.kind == DesktopEventKind::SearchProgress) &&
            event.search)
            rememberLine(commands_->lastLine, event.search->report);
    });
    window.setAcceptDrops(true);
    window.installEventFilter(this);
}

bool CommandPorts::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_) return false;
    if (event->type() == QEvent::DragEnter) {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        if (drag->mimeData()->hasUrls() || drag->mimeData()->hasText()) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::Drop) return false;
    auto* drop = static_cast<QDropEvent*>(event);
    const QMimeData* data = drop->mimeData();
    if (data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile())
        dropFile(*commands_, data->urls().first().toLocalFile().toStdString());
    else if (data->hasText())
        dropText(*commands_, data->text().toStdString());
    else
        return false;
    drop->acceptProposedAction();
    window_.refresh();
    return true;
}

void installGameCommands(MainWindow& window) { new CommandPorts(window); }

} // namespace corvid
