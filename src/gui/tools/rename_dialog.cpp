#include "gui/tools/rename_dialog.h"

#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"
#include "ui_rename_dialog.h"

namespace gamarium::gui {

TPasswordDlg1::TPasswordDlg1() : ui_(std::make_unique<Ui::TPasswordDlg1>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 281, 92);
    centerOnScreen(this);
    onSignal(ui_->OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    onSignal(ui_->CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

TPasswordDlg1::~TPasswordDlg1() = default;

std::optional<text::StoredText> TPasswordDlg1::ask() {
    newName_.reset();
    exec();
    return std::exchange(newName_, std::nullopt);
}

// A name with a character the game table cannot hold is refused here, and
// the dialog stays open for the user to correct it.
void TPasswordDlg1::OKBtnClick() {
    const text::StoredText name = typedText(ui_->Password->text(), "Новое название");
    if (!name.empty()) newName_ = name;
    accept();
}

void TPasswordDlg1::CancelBtnClick() {
    reject();
}

// Cancel, Esc and the close box all come here.
void TPasswordDlg1::reject() {
    ui_->Password->clear();
    newName_.reset();
    QDialog::reject();
}

} // namespace gamarium::gui
