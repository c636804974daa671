// The editor's five picture fields: choosing a file through the picture
// chooser, the preview on hovering, and the first picture of a record.
#include "gui/editor/editor_window.h"

#include "core/editor/picture_slots.h"
#include "core/pictures/picture_folder.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "ui_editor_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"

namespace gamarium::gui {

void TForm2::setupPictureFields() {
    for (QLineEdit* edit : {ui_->EditImage, ui_->EditImage2, ui_->EditImage3, ui_->EditImage4, ui_->EditImage5}) {
        edit->setCursor(Qt::PointingHandCursor);
        edit->setMouseTracking(true);
        edit->installEventFilter(this);
    }
    for (QPushButton* button : {ui_->Button1, ui_->Button2, ui_->Button3, ui_->Button4, ui_->Button5})
        onSignal(button, &QPushButton::clicked, this, [this, button] { Button1Click(button); });
}

QLineEdit* TForm2::pictureEdit(int field) const {
    QLineEdit* const edits[] = {ui_->EditImage, ui_->EditImage2, ui_->EditImage3, ui_->EditImage4, ui_->EditImage5};
    return field >= 1 && field <= 5 ? edits[field - 1] : nullptr;
}

// The name and Sid shown are used, typed or not: the chooser opens where
// the user is about to save the game. Only a name chosen with OK (or a
// double-click) is written, together with everything typed in the record.
void TForm2::Button1Click(QWidget* sender) {
    const std::string picmask = editor::minus(fromQt(ui_->EditName->text())) + "*.*";
    picfolder_ = session_->pictureFolder(fromQt(ui_->EditSid->text()));
    const std::optional<std::string> choice = windows_.choosePicture(picfolder_, picmask);
    if (!choice || choice->empty()) return;
    const char slot = editor::slotOf(fromQt(sender->objectName()));
    store::Table& games = Table1();
    form_->putTyping();
    games.edit();
    if (const int field = editor::pictureFieldOf(slot)) {
        games.fieldByName(editor::pictureFieldName(field)).setAsString(*choice);
        markVisited(pictureEdit(field));
    }
    games.post();
    if (files::fileExists(pictures::pictureFile(picfolder_, *choice))) showPicture(*choice);
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
    if (!name.empty() && files::fileExists(pictures::pictureFile(picfolder_, name))) showPicture(name);
    lastslot_ = slot;
}

void TForm2::showpic() {
    const std::string image = fieldText("Image1");
    setPictureFolder(fieldText("Sid"));
    if (!image.empty()) showPicture(image);
}

} // namespace gamarium::gui
