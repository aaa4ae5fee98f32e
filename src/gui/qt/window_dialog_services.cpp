#include "gui/qt/window_dialog_services.h"

#include "gui/qt/main_window.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>

namespace corvid {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Where a picker starts: a file's path (either separator) at that file; a folder, or none for
// the working folder, with the filter's pattern as the name ("*.obk").
QString startingPoint(const std::string& folder, const std::string& filter) {
    QString start = qt(folder);
    start.replace('\\', '/');
    if (!start.isEmpty() && !QFileInfo(start).isDir())
        return QDir::current().absoluteFilePath(start);
    const QRegularExpressionMatch pattern =
        QRegularExpression("\\((\\*\\.[^) ;]+)").match(qt(filter));
    const QString name = pattern.hasMatch() ? pattern.captured(1) : QString();
    return QDir(start.isEmpty() ? QDir::currentPath() : start).filePath(name);
}

} // namespace

std::string WindowDialogServices::openFileName(const std::string& caption,
                                               const std::string& folder,
                                               const std::string& filter) {
    return QFileDialog::getOpenFileName(&window_, qt(caption), startingPoint(folder, filter),
                                        qt(filter))
        .toStdString();
}

std::string WindowDialogServices::saveFileName(const std::string& caption,
                                               const std::string& folder,
                                               const std::string& filter) {
    return QFileDialog::getSaveFileName(&window_, qt(caption), startingPoint(folder, filter),
                                        qt(filter))
        .toStdString();
}

void WindowDialogServices::messageBox(const std::string& title, const std::string& text) {
    if (window_.showMessage) window_.showMessage(qt(title), qt(text));
}

void WindowDialogServices::beep() {
    if (window_.beep) window_.beep();
}

bool WindowDialogServices::askYesNo(const std::string& title, const std::string& text) {
    return QMessageBox::question(&window_, qt(title), qt(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace corvid
