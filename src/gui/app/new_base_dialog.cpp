#include "gui/app/new_base_dialog.h"

#include "core/session/base_changes.h"
#include "core/store/catalogue.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "ui_new_base_dialog.h"

namespace gamarium::gui {

TPasswordDlg::TPasswordDlg(files::Path home) : home_(std::move(home)), ui_(std::make_unique<Ui::TPasswordDlg>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 250, 95);
    centerOnScreen(this);
    onSignal(ui_->OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    onSignal(ui_->CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

TPasswordDlg::~TPasswordDlg() = default;

std::optional<std::string> TPasswordDlg::ask(const std::vector<std::string>& listed) {
    listed_ = listed;
    created_.reset();
    exec();
    return std::exchange(created_, std::nullopt);
}

QString TPasswordDlg::typedName() const {
    return ui_->Edit1->text();
}

// The steps in their order: the tables, bases.ini, the picture folder. A
// refused name or a failed step stops there and keeps the dialog open, so
// that the user can correct the name or cancel.
void TPasswordDlg::OKBtnClick() {
    const std::string name = typedText(typedName(), "Название базы").bytes();
    store::validateBaseName(name);
    const bool exists = store::baseExists(home_, name);
    if (exists &&
        !MessageBox::confirm(this, QStringLiteral("База «%1» уже есть. Заменить её таблицы пустыми? Картинки останутся.")
                                       .arg(baseNameToQt(name))))
        return;
    created_ = session::createBase(home_, name, exists, listed_, "Создание базы заново");
    accept();
}

void TPasswordDlg::CancelBtnClick() {
    reject();
}

} // namespace gamarium::gui
