#include "pictures/chooser_window.h"

#include "app/main_window.h"
#include "app/windows.h"
#include "pictures/picture_folder.h"
#include "pictures/picture_loader.h"
#include "ui_chooser_window.h"
#include "widgets/fixed_window.h"
#include "widgets/qt_text.h"

#include <QShowEvent>

namespace gamarium::gui {

TFopen::TFopen(Windows& windows) : windows_(windows), ui_(std::make_unique<Ui::TFopen>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 673, 318);
    connect(ui_->ListBox1, &QListWidget::itemSelectionChanged, this, &TFopen::ListBox1Click);
    connect(ui_->ListBox1, &QListWidget::itemDoubleClicked, this, &TFopen::Button2Click);
    connect(ui_->Button2, &QPushButton::clicked, this, &TFopen::Button2Click);
    connect(ui_->Button3, &QPushButton::clicked, this, &TFopen::Button3Click);
}

TFopen::~TFopen() = default;

// The window system's own show events (a restore from minimised, a
// re-expose) come while the chooser is already open: only an opening scans.
void TFopen::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFopen::FormShow() {
    scanfolder();
}

void TFopen::scanfolder() {
    TForm1* form1 = windows_.form1();
    QListWidget* list = ui_->ListBox1;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const std::string& name : pictures::scanPictureFolder(form1->picfolder, form1->picmask))
        list->addItem(toQt(name));
    picl(windows_, list->count() > 0 ? fromQt(list->item(0)->text()) : std::string("no_image.gif"), ui_->Image1);
}

void TFopen::ListBox1Click() {
    const QList<QListWidgetItem*> selected = ui_->ListBox1->selectedItems();
    if (selected.isEmpty() || selected.front()->text().isEmpty()) return;
    picl(windows_, fromQt(selected.front()->text()), ui_->Image1);
}

// OK with entries but none chosen yet does nothing: the chooser stays open.
void TFopen::Button2Click() {
    QListWidget* list = ui_->ListBox1;
    if (list->count() > 0) {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        if (selected.isEmpty()) return;
        windows_.form1()->picchoice = fromQt(selected.front()->text());
    }
    accept();
}

void TFopen::Button3Click() {
    windows_.form1()->picchoice.clear();
    reject();
}

} // namespace gamarium::gui
