// The window fixture with the dialogs' questions answered from a script, and the helpers the
// dialog and panel tests share.
#pragma once

#include "gui/scripted_dialog_services.h"
#include "window_test_support.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <string>

namespace corvid::test {

class DialogWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        window->setDialogServices(&dialogs);
    }
    void TearDown() override {
        window->setDialogServices(nullptr);
        WindowTest::TearDown();
    }

    // The control of a dialog or panel by id and type.
    template <typename T> static T* control(const QWidget* parent, int id) {
        return parent->findChild<T*>(QStringLiteral("id%1").arg(id));
    }
    static void press(const QWidget* parent, int id) {
        auto* button = control<QAbstractButton>(parent, id);
        ASSERT_NE(button, nullptr) << id;
        // Check boxes and radio buttons take clicks on their box and caption only.
        const bool boxed = button->isCheckable() && !qobject_cast<QPushButton*>(button);
        QTest::mouseClick(button, Qt::LeftButton, {},
                          boxed ? QPoint(6, button->height() / 2) : button->rect().center());
        QApplication::processEvents(); // the reports the click caused
    }
    static void type(const QWidget* parent, int id, const QString& text) {
        auto* field = control<QLineEdit>(parent, id);
        ASSERT_NE(field, nullptr) << id;
        field->setText(text);
        emit field->editingFinished();
    }
    static QString text(const QWidget* parent, int id) {
        if (auto* label = control<QLabel>(parent, id)) return label->text();
        if (auto* field = control<QLineEdit>(parent, id)) return field->text();
        if (auto* button = control<QAbstractButton>(parent, id)) return button->text();
        return "<no control>";
    }
    // Writes a widget as PNG next to the window's screenshots.
    static void shoot(QWidget* widget, const std::string& name) {
        const std::string folder = std::string(CORVID_BINARY_DIR) + "/screenshots";
        std::filesystem::create_directories(folder);
        QApplication::processEvents();
        const QString path = QString::fromStdString(folder + "/" + name + ".png");
        EXPECT_TRUE(widget->grab().save(path, "PNG")) << path.toStdString();
    }

    ScriptedDialogServices dialogs;
};

} // namespace corvid::test
