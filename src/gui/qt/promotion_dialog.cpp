#include "gui/qt/promotion_dialog.h"

#include "gui/qt/side_panel.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace corvid {

int askPromotionPiece(QWidget* parent) {
    QDialog dialog(parent);
    dialog.setObjectName("PAWN");
    dialog.setWindowTitle("PAWN");
    auto* row = new QHBoxLayout(&dialog);
    struct Choice {
        int id;
        const char* caption;
        int piece;
    };
    constexpr Choice choices[] = {
        {100, "Queen", 4}, {101, "Rook", 3}, {102, "Bishop", 2}, {103, "Knight", 1}};
    for (const Choice& choice : choices) {
        auto* button = new QPushButton(choice.caption, &dialog);
        button->setObjectName(controlName(choice.id));
        const int piece = choice.piece;
        QObject::connect(button, &QPushButton::clicked, &dialog,
                         [&dialog, piece] { dialog.done(piece); });
        row->addWidget(button);
    }
    const int chosen = dialog.exec();
    return chosen >= 1 && chosen <= 4 ? chosen : 4;
}

} // namespace corvid
