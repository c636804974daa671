#include "gui/pictures/chooser_window.h"

#include "core/pictures/picture_folder.h"
#include "gui/pictures/picture_loader.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"
#include "ui_chooser_window.h"


namespace gamarium::gui {

TFopen::TFopen() : ui_(std::make_unique<Ui::TFopen>()) {
    ui_->setupUi(this);
    makeFixedWindow(this, 673, 318);
    onSignal(ui_->ListBox1, &QListWidget::itemSelectionChanged, this, [this] { ListBox1Click(); });
    onSignal(ui_->ListBox1, &QListWidget::itemDoubleClicked, this, [this] { Button2Click(); });
    onSignal(ui_->Button2, &QPushButton::clicked, this, [this] { Button2Click(); });
    onSignal(ui_->Button3, &QPushButton::clicked, this, [this] { Button3Click(); });
}

TFopen::~TFopen() = default;

std::optional<text::StoredText> TFopen::choose(const files::Path& folder, const std::string& mask) {
    picfolder_ = folder;
    picmask_ = mask;
    picchoice_.reset();
    FormShow();
    exec();
    return std::exchange(picchoice_, std::nullopt);
}

void TFopen::FormShow() {
    scanfolder();
}

void TFopen::scanfolder() {
    QListWidget* list = ui_->ListBox1;
    const QSignalBlocker quiet(list);
    list->clear();
    for (const text::StoredText& name : pictures::scanPictureFolder(picfolder_, picmask_)) list->addItem(toQt(name));
    picl(picfolder_, list->count() > 0 ? fromQt(list->item(0)->text()) : "no_image.gif"_stored, ui_->Image1);
}

void TFopen::ListBox1Click() {
    const QList<QListWidgetItem*> selected = ui_->ListBox1->selectedItems();
    if (selected.isEmpty() || selected.front()->text().isEmpty()) return;
    picl(picfolder_, fromQt(selected.front()->text()), ui_->Image1);
}

// OK with entries but none chosen yet does nothing: the chooser stays open.
void TFopen::Button2Click() {
    QListWidget* list = ui_->ListBox1;
    if (list->count() > 0) {
        const QList<QListWidgetItem*> selected = list->selectedItems();
        if (selected.isEmpty()) return;
        picchoice_ = fromQt(selected.front()->text());
    }
    accept();
}

void TFopen::Button3Click() {
    picchoice_.reset();
    reject();
}

} // namespace gamarium::gui
