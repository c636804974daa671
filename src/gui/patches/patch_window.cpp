#include "patches/patch_window.h"

#include "app/windows.h"
#include "editor/editor_window.h"
#include "patches/patch_rules.h"
#include "store/table.h"
#include "ui_patch_window.h"
#include "widgets/data_source.h"
#include "widgets/fixed_window.h"
#include "widgets/label_names.h"
#include "widgets/message_box.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QShowEvent>

namespace gamarium::gui {

TForm3::TForm3(Windows& windows)
    : windows_(windows), ui_(std::make_unique<Ui::TForm3>()),
      table1_(std::make_unique<store::Table>(files::Path(), std::string())),
      dataSource1_(std::make_unique<DataSource>(this)) {
    ui_->setupUi(this);
    makeFixedWindow(this, 277, 242);
    centerOnScreen(this);
    setFontOf(ui_->Button2, 24, false);
    setFontOf(ui_->Button1, 10, true);
    bindControls();
    nameControl(ui_->Button2, QStringLiteral("Новый патч"));
    ui_->EditText->setAccessibleDescription(ui_->Label8->text());
    connect(ui_->Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
}

TForm3::~TForm3() {
    setControlsTable(nullptr);
}

void TForm3::bindControls() {
    const std::pair<QLineEdit*, const char*> edits[] = {
        {ui_->EditN, "N"},       {ui_->EditPatch, "Patch"}, {ui_->EditSize, "Size"}, {ui_->EditProc, "Proc"},
        {ui_->EditText, "Text"}, {ui_->EditAutor, "Autor"}, {ui_->EditYear, "Year"},
    };
    for (const auto& [edit, field] : edits) dataSource1_->bind(edit, field);
    using B = NavigatorBar::Button;
    ui_->DBNavigator->setButtons({B::First, B::Prior, B::Next, B::Last, B::Delete, B::Post});
    ui_->DBNavigator->setFlat(true);
}

void TForm3::setControlsTable(store::Table* table) {
    ui_->DBNavigator->setTable(table);
    dataSource1_->setTable(table);
}

void TForm3::openTable(const files::Path& folder, const std::string& name) {
    closeTable();
    setControlsTable(nullptr);
    table1_ = std::make_unique<store::Table>(folder, name);
    table1_->open();
}

void TForm3::closeTable() {
    table1_->close();
}

// The editor may have opened another patch table since the last showing:
// the controls follow the table of the moment, and only while shown.
void TForm3::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) return;
    setControlsTable(table1_.get());
    ui_->Panel1->setFocus();
    FormShow();
}

void TForm3::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) setControlsTable(nullptr);
}

void TForm3::FormShow() {
    const std::int64_t link = windows_.form2()->Table1().fieldByName("Patch").asInteger();
    patches::goToLinkedPatch(*table1_, link);
}

void TForm3::Button1Click() {
    patches::writeCurrentPatch(*table1_);
    accept();
}

void TForm3::Button2Click() {
    patches::appendNextPatch(*table1_);
}

void TForm3::reject() {
    close();
}

// A record being changed or begun with "+" is neither dropped unseen nor
// left half-made for the editor to link to: the user is asked. A write that
// fails keeps the window open.
void TForm3::closeEvent(QCloseEvent* event) {
    if (table1_->isOpen() && table1_->state() != store::TableState::Browse) {
        try {
            if (MessageBox::confirm(this, QStringLiteral("Сохранить изменения?")))
                table1_->post();
            else
                table1_->cancel();
        } catch (...) {
            event->ignore();
            throw;
        }
    }
    QDialog::reject();
    event->accept();
}

} // namespace gamarium::gui
