#include "gui/qt/status_label.h"

#include <QResizeEvent>
#include <algorithm>

namespace corvid {

StatusLabel::StatusLabel(QWidget* parent, int minimumHeight) : QLabel(parent) {
    setWordWrap(true);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFrameShape(QFrame::StyledPanel);
    setMinimumHeight(minimumHeight);
}

QSize StatusLabel::sizeHint() const {
    return {QLabel::sizeHint().width(), std::max(heightForWidth(width()), minimumHeight())};
}

void StatusLabel::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    // The wanted height follows the width the layout gave.
    if (event->size().width() != event->oldSize().width()) updateGeometry();
}

} // namespace corvid
