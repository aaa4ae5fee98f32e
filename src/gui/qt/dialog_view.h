// The pieces the dialogs are built from: controls named by their ids, the copying of a
// dialog's values to and from its controls, and a dialog that hands its values to its model
// when it closes.
#pragma once

#include "gui/logic/dialog_fields.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace corvid {

// The control id of a widget named "id<number>" (-1 for any other name).
int controlId(const QObject* widget);

// Sets the edit fields, labels, check boxes and radio buttons named in the values.
void showValues(QWidget* container, const DialogValues& values);
// The texts of the edit fields and the states of the check boxes and radio buttons.
DialogValues readValues(const QWidget* container);

QLabel* makeLabel(QWidget* parent, const QString& text, int id = -1);
QLineEdit* makeField(QWidget* parent, int id, int width = 80);
QCheckBox* makeCheck(QWidget* parent, int id, const QString& caption);
QRadioButton* makeRadio(QWidget* parent, int id, const QString& caption);
QPushButton* makeButton(QWidget* parent, int id, const QString& caption);

// A modal dialog over a model: OK (id 1) and Cancel (id 2, also the window's close) end it, and
// closed() receives its values and whether it was OK before it goes.
class ModelDialog : public QDialog {
public:
    ModelDialog(QWidget* parent, const char* resourceName, const QString& title);
    std::function<void(const DialogValues& values, bool ok)> closed;
    // OK and Cancel in a row, to be added to the dialog's layout.
    QWidget* okCancelRow();
    void done(int result) override;

private:
    bool closing_ = false;
};

} // namespace corvid
