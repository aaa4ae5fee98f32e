// "TimeSet", "SearchSet", "PLAYER", "WINBOARD" and "GUIGAME": views over their models.
#include "gui/logic/game_preferences_dialog.h"
#include "gui/logic/player_dialog.h"
#include "gui/logic/search_settings_dialog.h"
#include "gui/logic/time_dialog.h"
#include "gui/qt/dialog_view.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/main_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvid {

namespace {

// A grid of "label, field, hint" rows above the OK/Cancel row.
struct FieldForm {
    ModelDialog* dialog;
    QVBoxLayout* column;
    QGridLayout* grid;
    explicit FieldForm(ModelDialog* d)
        : dialog(d), column(new QVBoxLayout(d)), grid(new QGridLayout) {
        column->addLayout(grid);
    }
    QLineEdit* row(int id, const QString& label, const QString& hint = QString(), int width = 80) {
        const int r = grid->rowCount();
        grid->addWidget(makeLabel(dialog, label), r, 0);
        QLineEdit* field = makeField(dialog, id, width);
        grid->addWidget(field, r, 1);
        if (!hint.isEmpty()) grid->addWidget(makeLabel(dialog, hint), r, 2);
        return field;
    }
    void finish(const DialogValues& values) {
        column->addWidget(dialog->okCancelRow());
        showValues(dialog, values);
    }
};

} // namespace

std::unique_ptr<QDialog> buildTimeDialog(MainWindow& window) {
    auto dialog = std::make_unique<ModelDialog>(&window, "TimeSet", "Game Time");
    FieldForm form(dialog.get());
    form.row(timeset::TotalMinutes, "Total Minutes");
    form.row(timeset::SecondsPerMove, "Seconds/move");
    form.finish(openTimeDialog());
    dialog->closed = [&window](const DialogValues& values, bool ok) {
        closeTimeDialog(values, ok, window.dialogServices());
    };
    return dialog;
}

std::unique_ptr<QDialog> buildSearchSettingsDialog(MainWindow& window) {
    auto dialog = std::make_unique<ModelDialog>(&window, "SearchSet", "Search Settings");
    FieldForm form(dialog.get());
    form.row(searchset::MaximumPly, "Maximum Ply:", "( range 1 to 32 )");
    form.row(searchset::MaxKiloNodes, "Max KiloNodes/move:", "( If 0, there is no max)");
    form.row(searchset::MaxSeconds,
             "Max Seconds/move:", "( If this is 0, computer uses the time control instead)");
    form.column->addWidget(makeCheck(dialog.get(), searchset::WaitAtLimit,
                                     "Wait before making a move after reaching max ply or "
                                     "nodes."));
    form.finish(openSearchSettings());
    dialog->closed = [&window](const DialogValues& values, bool ok) {
        closeSearchSettings(values, ok, window.dialogServices(), window.state());
    };
    return dialog;
}

std::unique_ptr<QDialog> buildPlayerDialog(MainWindow& window) {
    auto dialog = std::make_unique<ModelDialog>(&window, "PLAYER", "Player Information");
    FieldForm form(dialog.get());
    form.row(player::Name, "Name:", QString(), 240)->setMaxLength(38);
    form.finish(openPlayerDialog());
    dialog->closed = [&window](const DialogValues& values, bool ok) {
        closePlayerDialog(values, ok, window.state());
    };
    return dialog;
}

std::unique_ptr<QDialog> buildGamePreferencesDialog(MainWindow& window, bool winboard) {
    auto model = std::make_shared<GamePreferencesDialog>(winboard);
    auto dialog = std::make_unique<ModelDialog>(&window, model->resourceName(), model->title());
    ModelDialog* d = dialog.get();
    auto* column = new QVBoxLayout(d);
    column->addWidget(makeCheck(d, gameprefs::DrawOffers, "Accept/Offer Draws"));
    column->addWidget(makeCheck(d, gameprefs::Resign, "Resign"));
    if (model->hasLogGames())
        column->addWidget(makeCheck(d, gameprefs::LogGames, "Log Games to Winboardgames.pgn"));
    auto* book = new QHBoxLayout;
    book->addWidget(makeCheck(d, gameprefs::UseBook, "Use Book"));
    QPushButton* bookFile = makeButton(d, gameprefs::BookFile, "Default");
    bookFile->setMinimumWidth(200);
    book->addWidget(bookFile, 1);
    column->addLayout(book);
    auto* personality = new QHBoxLayout;
    personality->addWidget(makeLabel(d, "Personality:"));
    personality->addWidget(makeButton(d, gameprefs::Personality, "Not Implemented Yet"));
    personality->addStretch(1);
    column->addLayout(personality);
    column->addWidget(d->okCancelRow());
    showValues(d, model->open());
    QObject::connect(bookFile, &QPushButton::clicked, d, [&window, model, bookFile] {
        bookFile->setText(QString::fromStdString(model->chooseBook(window.dialogServices())));
    });
    d->closed = [model](const DialogValues& values, bool ok) { model->close(values, ok); };
    return dialog;
}

} // namespace corvid
