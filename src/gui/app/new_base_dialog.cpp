#include "app/new_base_dialog.h"

#include "app/main_window.h"
#include "app/windows.h"
#include "store/catalogue.h"
#include "ui_new_base_dialog.h"
#include "widgets/fixed_window.h"
#include "widgets/message_box.h"
#include "widgets/qt_text.h"

namespace gamarium::gui {

TPasswordDlg::TPasswordDlg(Windows& windows) : windows_(windows), ui_(std::make_unique<Ui::TPasswordDlg>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 250, 95);
    centerOnScreen(this);
    connect(ui_->OKBtn, &QPushButton::clicked, this, &TPasswordDlg::OKBtnClick);
    connect(ui_->CancelBtn, &QPushButton::clicked, this, &TPasswordDlg::CancelBtnClick);
}

TPasswordDlg::~TPasswordDlg() = default;

QString TPasswordDlg::typedName() const {
    return ui_->Edit1->text();
}

// The steps in their order: the tables, the name appended to the main
// window's list, bases.ini, the picture folder. A refused name or a failed
// step stops there and keeps the dialog open, so that the user can correct
// the name or cancel.
void TPasswordDlg::OKBtnClick() {
    const std::string name = fromQt(typedName());
    const files::Path& home = windows_.home();
    store::validateBaseName(name);
    const bool exists = store::baseExists(home, name);
    if (exists &&
        !MessageBox::confirm(this, QStringLiteral("База «%1» уже есть. Заменить её таблицы пустыми? Картинки останутся.")
                                       .arg(toQt(name))))
        return;
    const std::string created = store::createBase(home, name, exists);
    TForm1* form1 = windows_.form1();
    form1->appendListedBase(created);
    store::writeBasesList(home, form1->listedBases());
    store::makePictureFolder(home, created);
    accept();
}

void TPasswordDlg::CancelBtnClick() {
    reject();
}

} // namespace gamarium::gui
