#include "tools/rename_dialog.h"

#include "ui_rename_dialog.h"

#include <QCloseEvent>
#include "widgets/fixed_window.h"
#include "widgets/qt_text.h"

namespace gamarium::gui {

TPasswordDlg1::TPasswordDlg1(Windows&) : ui_(std::make_unique<Ui::TPasswordDlg1>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 281, 92);
    centerOnScreen(this);
    connect(ui_->OKBtn, &QPushButton::clicked, this, &TPasswordDlg1::OKBtnClick);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &TPasswordDlg1::CancelBtnClick);
}

TPasswordDlg1::~TPasswordDlg1() = default;

std::string TPasswordDlg1::newName() const {
    return fromQt(ui_->Password->text());
}

void TPasswordDlg1::OKBtnClick() {
    accept();
}

void TPasswordDlg1::CancelBtnClick() {
    ui_->Password->clear();
    QDialog::reject();
}

// Esc is Cancel.
void TPasswordDlg1::reject() {
    CancelBtnClick();
}

// The close box ends the dialog keeping the text, unlike Cancel.
void TPasswordDlg1::closeEvent(QCloseEvent* event) {
    QDialog::reject();
    event->accept();
}

} // namespace gamarium::gui
