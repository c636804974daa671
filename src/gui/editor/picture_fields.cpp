// The editor's five picture fields: choosing a file through the picture
// chooser, the preview on hovering, and the first picture of a record.
#include "editor/editor_window.h"

#include "app/main_window.h"
#include "app/windows.h"
#include "editor/picture_slots.h"
#include "pictures/chooser_window.h"
#include "pictures/picture_folder.h"
#include "pictures/picture_loader.h"
#include "store/table.h"
#include "ui_editor_window.h"
#include "widgets/qt_text.h"

namespace gamarium::gui {

void TForm2::setupPictureFields() {
    for (QLineEdit* edit : {ui_->EditImage, ui_->EditImage2, ui_->EditImage3, ui_->EditImage4, ui_->EditImage5}) {
        edit->setCursor(Qt::PointingHandCursor);
        edit->setMouseTracking(true);
        edit->installEventFilter(this);
    }
    for (QPushButton* button : {ui_->Button1, ui_->Button2, ui_->Button3, ui_->Button4, ui_->Button5})
        connect(button, &QPushButton::clicked, this, [this, button] { Button1Click(button); });
}

QLineEdit* TForm2::pictureEdit(int field) const {
    QLineEdit* const edits[] = {ui_->EditImage, ui_->EditImage2, ui_->EditImage3, ui_->EditImage4, ui_->EditImage5};
    return field >= 1 && field <= 5 ? edits[field - 1] : nullptr;
}

void TForm2::Button1Click(QWidget* sender) {
    TForm1* form1 = windows_.form1();
    form1->picmask = editor::minus(fromQt(ui_->EditName->text())) + "*.*";
    form1->picfolder = pictures::gamePictureFolder(windows_.home(), form1->baseName(), fromQt(ui_->EditSid->text()));
    windows_.fopen()->exec();
    const char slot = editor::slotOf(fromQt(sender->objectName()));
    const std::string choice = form1->picchoice;
    if (choice.empty()) return;
    store::Table& games = Table1();
    games.edit();
    if (const int field = editor::pictureFieldOf(slot)) {
        games.fieldByName(editor::pictureFieldName(field)).setAsString(choice);
        markVisited(pictureEdit(field));
    }
    games.post();
    if (files::fileExists(pictures::pictureFile(form1->picfolder, choice))) picl(windows_, choice, ui_->Image1);
    lastslot_ = slot;
}

// Called on every small move of the pointer: nothing is read or touched
// while it stays over the edit previewed last.
void TForm2::EditImageMouseMove(QWidget* sender) {
    const char slot = editor::slotOf(fromQt(sender->objectName()));
    if (slot == lastslot_) return;
    const int field = editor::pictureFieldOf(slot);
    const std::string name = field ? fieldText(editor::pictureFieldName(field).c_str()) : std::string();
    setPictureFolder(fieldText("Sid"));
    if (!name.empty() && files::fileExists(pictures::pictureFile(windows_.form1()->picfolder, name)))
        picl(windows_, name, ui_->Image1);
    lastslot_ = slot;
}

void TForm2::showpic() {
    const std::string image = fieldText("Image1");
    setPictureFolder(fieldText("Sid"));
    if (!image.empty()) picl(windows_, image, ui_->Image1);
}

} // namespace gamarium::gui
