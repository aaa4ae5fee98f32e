#include "gui/qt/mode_button.h"

#include "gui/logic/windows_colour.h"

#include <QPainter>
#include <qdrawutil.h>

namespace corvid {

void ModeButton::setOn(bool on) {
    if (on == on_) return;
    on_ = on;
    update();
}

void ModeButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QBrush fill = on_ ? QBrush(QColor::fromRgb(PressedToggleColour)) : palette().button();
    qDrawShadePanel(&painter, rect(), palette(), on_ || isDown(), 2, &fill);
    painter.setPen(palette().buttonText().color());
    // Pressed, the caption moves with the surface.
    const QRect text = rect().translated(on_ ? 1 : 0, on_ ? 1 : 0);
    painter.drawText(text, Qt::AlignCenter, this->text());
}

} // namespace corvid
