// "BOOK": the opening book editor over its model. Its edits take effect at once; the dialog
// shows the book's messages on its own status line while it is open.
#include "gui/logic/book_editor.h"
#include "gui/qt/dialog_view.h"
#include "gui/qt/dialogs.h"
#include "gui/qt/main_window.h"
#include "gui/qt/side_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvid {

namespace {

class BookEditorDialog : public ModelDialog {
public:
    explicit BookEditorDialog(MainWindow& window);
    ~BookEditorDialog() override { window_.statusOverride = previousOverride_; }

private:
    QPushButton* button(QLayout* layout, int id, const QString& caption,
                        void (BookEditor::*action)());
    QLineEdit* field(QGridLayout* grid, int row, int column, int id, const QString& label);
    // Fields still being edited are taken before a button acts on the book.
    void takeFields();
    void refreshLabels() { showValues(this, model_.labels()); }

    MainWindow& window_;
    BookEditor model_;
    std::vector<QLineEdit*> fields_;
    QLabel* status_;
    std::function<bool(const QString&)> previousOverride_;
};

BookEditorDialog::BookEditorDialog(MainWindow& window)
    : ModelDialog(&window, "BOOK", "Opening Book Editor"), window_(window),
      model_(window.state(), window.dialogServices()) {
    auto* column = new QVBoxLayout(this);
    QLabel* file = makeLabel(this, QString(), bookeditor::FileLabel);
    file->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(file);
    auto* counts = new QHBoxLayout;
    counts->addWidget(makeLabel(this, QString(), bookeditor::PositionsLabel));
    counts->addWidget(makeLabel(this, QString(), bookeditor::FreeLabel));
    counts->addStretch(1);
    column->addLayout(counts);
    auto* files = new QHBoxLayout;
    button(files, bookeditor::Save, "Save", &BookEditor::save);
    button(files, bookeditor::SaveAs, "Save As", &BookEditor::saveAs);
    button(files, bookeditor::Load, "Load", &BookEditor::load);
    button(files, bookeditor::Clear, "Clear", &BookEditor::clear);
    column->addLayout(files);

    auto* building = new QGroupBox(this);
    auto* grid = new QGridLayout(building);
    grid->addWidget(makeLabel(building, "Side(s) to add from:"), 0, 0);
    auto* sides = new QHBoxLayout;
    const std::pair<int, const char*> boxes[] = {{bookeditor::Winning, "Winning"},
                                                 {bookeditor::Drawing, "Drawing"},
                                                 {bookeditor::Losing, "Losing"}};
    for (const auto& [id, caption] : boxes) {
        QCheckBox* box = makeCheck(building, id, caption);
        connect(box, &QCheckBox::toggled, this,
                [this, id](bool on) { model_.checkChanged(id, on); });
        sides->addWidget(box);
    }
    grid->addLayout(sides, 0, 1, 1, 3);
    field(grid, 1, 0, bookeditor::FromMove, "From Move # (1-30):");
    field(grid, 1, 2, bookeditor::UpToMove, "Up to Move # (1-30):");
    field(grid, 2, 0, bookeditor::MaxGames, "Max Games to Read:");
    field(grid, 2, 2, bookeditor::MinOccurrences, "Times position must occur:");
    auto* add = new QHBoxLayout;
    button(add, bookeditor::AddPgn, "Add PGN", &BookEditor::addPgn);
    add->addStretch(1);
    grid->addLayout(add, 3, 0, 1, 4);
    column->addWidget(building);

    status_ = makeLabel(this, QString(), 122);
    status_->setWordWrap(true);
    status_->setMinimumHeight(40);
    status_->setFrameShape(QFrame::StyledPanel);
    column->addWidget(status_);
    auto* end = new QHBoxLayout;
    end->addStretch(1);
    QPushButton* done = makeButton(this, bookeditor::Done, "Done");
    connect(done, &QPushButton::clicked, this, &QDialog::accept);
    end->addWidget(done);
    column->addLayout(end);

    showValues(this, model_.open());

    previousOverride_ = window.statusOverride;
    window.statusOverride = [status = QPointer<QLabel>(status_)](const QString& text) {
        if (!status) return false;
        status->setText(text);
        return true;
    };
}

QPushButton* BookEditorDialog::button(QLayout* layout, int id, const QString& caption,
                                      void (BookEditor::*action)()) {
    QPushButton* b = makeButton(this, id, caption);
    connect(b, &QPushButton::clicked, this, [this, action] {
        takeFields();
        (model_.*action)();
        refreshLabels();
        window_.refresh();
    });
    layout->addWidget(b);
    return b;
}

QLineEdit* BookEditorDialog::field(QGridLayout* grid, int row, int column, int id,
                                   const QString& label) {
    grid->addWidget(makeLabel(this, label), row, column);
    QLineEdit* f = makeField(this, id, 70);
    connect(f, &QLineEdit::editingFinished, this, [this, f, id] {
        f->setText(QString::fromStdString(model_.fieldChanged(id, f->text().toStdString())));
    });
    grid->addWidget(f, row, column + 1);
    fields_.push_back(f);
    return f;
}

void BookEditorDialog::takeFields() {
    for (QLineEdit* f : fields_) {
        const int id = controlId(f);
        const std::string text = f->text().toStdString();
        const std::string stored = model_.fieldChanged(id, text);
        f->setText(QString::fromStdString(stored));
    }
}

} // namespace

std::unique_ptr<QDialog> buildBookEditor(MainWindow& window) {
    return std::make_unique<BookEditorDialog>(window);
}

} // namespace corvid
