#include "gui/patches/patch_window.h"

#include "core/patches/patch_rules.h"
#include "core/store/table.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/record_form.h"
#include "ui_patch_window.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QShowEvent>

namespace gamarium::gui {

TForm3::TForm3() : ui_(std::make_unique<Ui::TForm3>()) {
    ui_->setupUi(this);
    form_ = std::make_unique<RecordForm>(this);
    makeFixedWindow(this, 277, 242);
    centerOnScreen(this);
    setFontOf(ui_->Button2, 24, false);
    setFontOf(ui_->Button1, 10, true);
    for (QPushButton* button : {ui_->Button1, ui_->Button2}) button->setAutoDefault(false);
    bindControls();
    nameControl(ui_->Button2, QStringLiteral("Новый патч"));
    ui_->EditText->setAccessibleDescription(ui_->Label8->text());
    onSignal(ui_->Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
    onSignal(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
}

TForm3::~TForm3() = default;

void TForm3::bindControls() {
    namespace p = store::patches;
    const std::pair<QLineEdit*, store::FieldKey> edits[] = {
        {ui_->EditN, p::N},       {ui_->EditPatch, p::Patch}, {ui_->EditSize, p::Size}, {ui_->EditProc, p::Proc},
        {ui_->EditText, p::Text}, {ui_->EditAutor, p::Autor}, {ui_->EditYear, p::Year},
    };
    for (const auto& [edit, field] : edits) form_->bind(edit, field);
    using B = NavigatorBar::Button;
    ui_->DBNavigator->setButtons({B::First, B::Prior, B::Next, B::Last, B::Delete, B::Post});
    ui_->DBNavigator->setFlat(true);
    ui_->DBNavigator->setForm(form_.get());
}

// The boxes follow the table only while the window is shown.
std::optional<text::StoredText> TForm3::pick(store::Table& patches, std::int64_t link) {
    table1_ = &patches;
    link_ = link;
    chosen_.reset();
    struct Release {
        TForm3* window;
        ~Release() {
            window->form_->setTable(nullptr);
            window->table1_ = nullptr;
        }
    } release{this};
    exec();
    return std::exchange(chosen_, std::nullopt);
}

void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || !table1_) return;
    form_->setTable(table1_);
    ui_->Panel1->setFocus();
    runHandler(this, [this] { FormShow(); });
}

void TForm3::FormShow() {
    patches::goToLinkedPatch(*table1_, link_);
}

void TForm3::Button1Click() {
    form_->putTyping();
    patches::writeCurrentPatch(*table1_);
    chosen_ = table1_->field(store::patches::N).asString();
    accept();
}

void TForm3::Button2Click() {
    form_->putTyping();
    patches::appendNextPatch(*table1_);
}

void TForm3::reject() {
    close();
}

// The window has no default button: Enter presses the focused button, and
// in a box it goes no further. (A dialog would take the first button that
// takes Enter for its default, here "+".)
void TForm3::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
}

// A change the user typed is not dropped unseen: the user is asked. A
// record begun with "+" and left untouched is dropped. A write that fails
// keeps the window open.
void TForm3::closeEvent(QCloseEvent* event) {
    if (table1_ && table1_->isOpen() && table1_->state() != store::TableState::Browse) {
        const bool closed = runHandler(this, [this] {
            if (form_->typed() && MessageBox::confirm(this, QStringLiteral("Сохранить изменения?")))
                form_->post();
            else
                table1_->cancel();
        });
        if (!closed) {
            event->ignore();
            return;
        }
    }
    QDialog::reject();
    event->accept();
}

} // namespace gamarium::gui
