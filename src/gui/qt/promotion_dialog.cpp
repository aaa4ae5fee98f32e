#include "gui/qt/promotion_dialog.h"

#include "gui/logic/promotion_choice.h"
#include "gui/qt/piece_images.h"
#include "gui/qt/side_panel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>

namespace corvid {

namespace {

QIcon pieceIcon(int type, int colour, int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(QColor::fromRgb(LightSquareColour));
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    paintPiece(painter, QRectF(2, 2, size - 4, size - 4), type, colour);
    return QIcon(pixmap);
}

} // namespace

std::unique_ptr<QDialog> buildPromotionDialog(QWidget* parent, int colour) {
    auto dialog = std::make_unique<QDialog>(parent);
    QDialog* d = dialog.get();
    d->setObjectName("PAWN");
    d->setWindowTitle("PAWN");
    auto* row = new QHBoxLayout(d);
    constexpr int IconSize = 44;
    for (const PromotionChoice& choice : PromotionChoices) {
        auto* button = new QPushButton(choice.caption, d);
        button->setObjectName(controlName(choice.id));
        button->setIcon(pieceIcon(choice.piece, colour, IconSize));
        button->setIconSize(QSize(IconSize, IconSize));
        button->setAutoDefault(false);
        const int piece = choice.piece;
        QObject::connect(button, &QPushButton::clicked, d, [d, piece] { d->done(piece); });
        auto* key = new QShortcut(QKeySequence(QChar(choice.key)), d);
        QObject::connect(key, &QShortcut::activated, d, [d, piece] { d->done(piece); });
        row->addWidget(button);
    }
    return dialog;
}

int askPromotionPiece(QWidget* parent, int colour) {
    return promotionPieceOf(buildPromotionDialog(parent, colour)->exec());
}

} // namespace corvid
