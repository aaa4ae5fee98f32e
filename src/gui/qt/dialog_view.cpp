#include "gui/qt/dialog_view.h"

#include "gui/qt/side_panel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace corvid {

int controlId(const QObject* widget) {
    const QString name = widget->objectName();
    if (!name.startsWith("id")) return -1;
    bool ok = false;
    const int id = name.mid(2).toInt(&ok);
    return ok ? id : -1;
}

void showValues(QWidget* container, const DialogValues& values) {
    for (QWidget* w : container->findChildren<QWidget*>()) {
        const int id = controlId(w);
        if (id < 0) continue;
        auto text = values.texts.find(id);
        auto check = values.checks.find(id);
        if (auto* field = qobject_cast<QLineEdit*>(w); field && text != values.texts.end())
            field->setText(QString::fromStdString(text->second));
        else if (auto* label = qobject_cast<QLabel*>(w); label && text != values.texts.end())
            label->setText(QString::fromStdString(text->second));
        else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
            if (check != values.checks.end() && button->isCheckable())
                button->setChecked(check->second);
            else if (text != values.texts.end())
                button->setText(QString::fromStdString(text->second));
        }
    }
}

DialogValues readValues(const QWidget* container) {
    DialogValues values;
    for (const QWidget* w : container->findChildren<QWidget*>()) {
        const int id = controlId(w);
        if (id < 0) continue;
        if (auto* field = qobject_cast<const QLineEdit*>(w))
            values.texts[id] = field->text().toStdString();
        else if (auto* button = qobject_cast<const QAbstractButton*>(w);
                 button && button->isCheckable())
            values.checks[id] = button->isChecked();
    }
    return values;
}

QLabel* makeLabel(QWidget* parent, const QString& text, int id) {
    auto* label = new QLabel(text, parent);
    if (id >= 0) label->setObjectName(controlName(id));
    return label;
}

QLineEdit* makeField(QWidget* parent, int id, int width) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(controlName(id));
    field->setFixedWidth(width);
    return field;
}

QCheckBox* makeCheck(QWidget* parent, int id, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(controlName(id));
    return box;
}

QRadioButton* makeRadio(QWidget* parent, int id, const QString& caption) {
    auto* radio = new QRadioButton(caption, parent);
    radio->setObjectName(controlName(id));
    return radio;
}

QPushButton* makeButton(QWidget* parent, int id, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(controlName(id));
    button->setAutoDefault(false);
    return button;
}

ModelDialog::ModelDialog(QWidget* parent, const char* resourceName, const QString& title)
    : QDialog(parent) {
    setObjectName(resourceName);
    setWindowTitle(title);
    setModal(true);
}

QWidget* ModelDialog::okCancelRow() {
    auto* row = new QWidget(this);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addStretch(1);
    QPushButton* ok = makeButton(row, 1, "OK");
    QPushButton* cancel = makeButton(row, 2, "Cancel");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    layout->addWidget(ok);
    layout->addWidget(cancel);
    return row;
}

void ModelDialog::done(int result) {
    // A message box shown while closing must not close the dialog a second time.
    if (closing_) return;
    closing_ = true;
    if (closed) closed(readValues(this), result == QDialog::Accepted);
    QDialog::done(result);
}

} // namespace corvid
