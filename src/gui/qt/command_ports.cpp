#include "gui/qt/command_ports.h"

#include "gui/qt/main_window.h"

#include <QClipboard>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
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

namespace {

QString pickFile(QWidget* parent, bool save, const QString& caption, const QString& folder,
                 const QString& filter) {
    // The default name "*.pgn" in the folder last used.
    const QString start = (folder.isEmpty() ? QString() : folder + "/") + "*.pgn";
    return save ? QFileDialog::getSaveFileName(parent, caption, start, filter)
                : QFileDialog::getOpenFileName(parent, caption, start, filter);
}

} // namespace

std::string QtDialogServices::fileName(bool save, const std::string& caption,
                                       const std::string& folder, const std::string& filter) {
    const QString c = QString::fromStdString(caption), f = QString::fromStdString(folder),
                  x = QString::fromStdString(filter);
    return (chooseFile ? chooseFile(save, c, f, x) : pickFile(&window_, save, c, f, x))
        .toStdString();
}

std::string QtDialogServices::openFileName(const std::string& caption, const std::string& folder,
                                           const std::string& filter) {
    return fileName(false, caption, folder, filter);
}

std::string QtDialogServices::saveFileName(const std::string& caption, const std::string& folder,
                                           const std::string& filter) {
    return fileName(true, caption, folder, filter);
}

void QtDialogServices::messageBox(const std::string& title, const std::string& text) {
    if (window_.showMessage)
        window_.showMessage(QString::fromStdString(title), QString::fromStdString(text));
}

void QtDialogServices::beep() {
    if (window_.beep) window_.beep();
}

CommandPorts::CommandPorts(MainWindow& window)
    : QObject(&window), window_(window), dialogs_(window) {
    setObjectName("commandPorts");
    std::error_code error;
    commands_ = std::make_unique<GameCommands>(window.state(), clipboard_, dialogs_,
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
