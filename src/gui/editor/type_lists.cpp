// The Type, Genre and themes boxes of the editor.
#include "gui/editor/editor_window.h"

#include "core/editor/classification.h"
#include "core/store/table.h"
#include "gui/widgets/combo_list.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"
#include "ui_editor_window.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace gamarium::gui {
namespace {

// The lists are the program's own words, in the code page's ASCII.
QStringList listOf(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items) list << QString::fromLatin1(item.data(), static_cast<qsizetype>(item.size()));
    return list;
}

} // namespace

void TForm2::setupTypeLists() {
    for (QComboBox* box : {ui_->DBComboBox1, ui_->DBComboBox2, ui_->ComboBox1}) box->setCompleter(nullptr);
    ui_->DBComboBox1->addItems(listOf(editor::typeList()));
    ui_->DBComboBox2->addItems(listOf(editor::typeList()));
    ui_->ComboBox1->addItems(listOf(editor::themeList()));
    ui_->ComboBox1->setEditText(QString::fromLatin1(editor::kThemesCaption.data(), static_cast<qsizetype>(editor::kThemesCaption.size())));
    ui_->DBComboBox2->setEditText(QString());
    ui_->DBComboBox1->setEditText(QString());
    // The user's changes only: showing another record changes no list.
    onSignal(ui_->DBComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this] { DBComboBox1Change(); });
    onSignal(ui_->DBComboBox1, &QComboBox::activated, this, [this] { DBComboBox1Change(); });
    // A theme is appended when chosen from the list, or typed and confirmed
    // with Enter (see handleEvent); typing alone appends nothing.
    onSignal(ui_->ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
    ui_->ComboBox1->lineEdit()->installEventFilter(this);
}

void TForm2::DBComboBox1Change() {
    refillKeepingText(ui_->DBComboBox2, listOf(editor::genreListFor(fromQt(ui_->DBComboBox1->currentText()).bytes())));
}

// The record is saved with everything typed in it, the Genre box included;
// the genre the theme is appended to is the one saved.
void TForm2::ComboBox1Change() {
    const text::StoredText theme = typedText(ui_->ComboBox1->currentText(), "Темы");
    store::Table& games = Table1();
    form_->putTyping();
    games.edit();
    const text::StoredText genre = games.field(store::games::Genre).asString();
    games.field(store::games::Genre).setAsString(text::StoredText::fromCp1251(editor::withTheme(genre.bytes(), theme.bytes())));
    games.post();
    // The theme chosen shows from its start, not scrolled to its end.
    ui_->ComboBox1->lineEdit()->setCursorPosition(0);
}

} // namespace gamarium::gui
