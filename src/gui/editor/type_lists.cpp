// The Type, Genre and themes boxes of the editor.
#include "editor/editor_window.h"

#include "editor/classification.h"
#include "store/table.h"
#include "ui_editor_window.h"
#include "widgets/qt_text.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace gamarium::gui {
namespace {

void fill(QComboBox* box, const std::vector<std::string>& items) {
    box->clear();
    for (const std::string& item : items) box->addItem(toQt(item));
}

} // namespace

void TForm2::setupTypeLists() {
    for (QComboBox* box : {ui_->DBComboBox1, ui_->DBComboBox2, ui_->ComboBox1}) box->setCompleter(nullptr);
    fill(ui_->DBComboBox1, editor::typeList());
    fill(ui_->DBComboBox2, editor::typeList());
    fill(ui_->ComboBox1, editor::themeList());
    ui_->ComboBox1->setEditText(toQt(editor::kThemesCaption));
    ui_->DBComboBox2->setEditText(QString());
    ui_->DBComboBox1->setEditText(QString());
    // The user's changes only: showing another record changes no list.
    connect(ui_->DBComboBox1->lineEdit(), &QLineEdit::textEdited, this, &TForm2::DBComboBox1Change);
    connect(ui_->DBComboBox1, &QComboBox::activated, this, &TForm2::DBComboBox1Change);
    // A theme is appended when chosen from the list, or typed and confirmed
    // with Enter (see eventFilter); typing alone appends nothing.
    connect(ui_->ComboBox1, &QComboBox::activated, this, &TForm2::ComboBox1Change);
    ui_->ComboBox1->lineEdit()->installEventFilter(this);
}

void TForm2::DBComboBox1Change() {
    QComboBox* genres = ui_->DBComboBox2;
    const QString shown = genres->currentText();
    fill(genres, editor::genreListFor(fromQt(ui_->DBComboBox1->currentText())));
    genres->setEditText(shown);
}

void TForm2::ComboBox1Change() {
    store::Table& games = Table1();
    games.edit();
    const std::string genre = fromQt(ui_->DBComboBox2->currentText());
    games.fieldByName("Genre").setAsString(editor::withTheme(genre, fromQt(ui_->ComboBox1->currentText())));
    games.post();
}

} // namespace gamarium::gui
