#include "gui/qt/qt_user_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

namespace corvid {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// Where a picker starts: a pattern ("*.obk") starts in the working folder; a file name (either
// separator) at that file.
QString startingPoint(const std::string& initialName) {
    QString name = qt(initialName);
    name.replace('\\', '/');
    if (name.isEmpty() || name.contains('*')) return QDir::currentPath();
    return QDir::current().absoluteFilePath(name);
}

} // namespace

void QtUserDialogs::message(const std::string& title, const std::string& text) {
    QMessageBox::information(parent_, qt(title), qt(text));
}

bool QtUserDialogs::askYesNo(const std::string& title, const std::string& text) {
    return QMessageBox::question(parent_, qt(title), qt(text),
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

std::string QtUserDialogs::chooseFileToOpen(const std::string& filter,
                                            const std::string& initialName) {
    return QFileDialog::getOpenFileName(parent_, "Open", startingPoint(initialName), qt(filter))
        .toStdString();
}

std::string QtUserDialogs::chooseFileToSave(const std::string& filter,
                                            const std::string& initialName) {
    return QFileDialog::getSaveFileName(parent_, "Save As", startingPoint(initialName), qt(filter))
        .toStdString();
}

} // namespace corvid
