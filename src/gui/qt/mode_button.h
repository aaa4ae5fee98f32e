// The side panel's owner-drawn "Book" and "Analyze" buttons: drawn pressed (sunken, filled
// with the pressed colour) while their board mode is on, raised on the button face otherwise.
#pragma once

#include <QPushButton>

namespace corvid {

class ModeButton : public QPushButton {
public:
    ModeButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}
    void setOn(bool on);
    bool isOn() const { return on_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool on_ = false;
};

} // namespace corvid
