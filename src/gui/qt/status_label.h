// A panel's word-wrapped status text. It asks for the height of its whole text but insists only
// on its minimum height: a long text gets what the rows around it leave over and is cut off
// below that. (Sized by its text's height for its width, the layout would take that height as
// its minimum and squeeze the rows above it over each other.)
#pragma once

#include <QLabel>

namespace corvid {

class StatusLabel : public QLabel {
public:
    StatusLabel(QWidget* parent, int minimumHeight);
    bool hasHeightForWidth() const override { return false; }
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;
};

} // namespace corvid
