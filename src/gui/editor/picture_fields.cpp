// The editor's picture fields: choosing a file through the picture
// chooser, the preview on hovering, and the first picture of a record.
#include "gui/editor/editor_window.h"

#include "core/editor/picture_slots.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"
#include "ui_editor_window.h"

namespace gamarium::gui {

void TForm2::setupPictureFields() {
    for (const EditorField& bound : fields_) {
        QPushButton* const chooser = bound.chooser;
        if (!chooser) continue;
        bound.control->setCursor(Qt::PointingHandCursor);
        bound.control->setMouseTracking(true);
        bound.control->installEventFilter(this);
        onSignal(chooser, &QPushButton::clicked, this, [this, chooser] { Button1Click(chooser); });
    }
}

QLineEdit* TForm2::pictureEdit(int field) const {
    if (field < 1 || field > static_cast<int>(store::games::kPictureFields.size())) return nullptr;
    for (const EditorField& bound : fields_)
        if (bound.field == editor::pictureField(field)) return qobject_cast<QLineEdit*>(bound.control);
    return nullptr;
}

// The name and Sid shown are used, typed or not: the chooser opens where
// the user is about to save the game. Only a name chosen with OK (or a
// double-click) is written, together with everything typed in the record.
void TForm2::Button1Click(QWidget* sender) {
    const std::string picmask = editor::minus(fromQt(ui_->EditName->text()).bytes()) + "*.*";
    picfolder_ = session_->pictureFolder(fromQt(ui_->EditSid->text()));
    const std::optional<text::StoredText> choice = windows_.choosePicture(picfolder_, picmask);
    if (!choice || choice->empty()) return;
    const char slot = editor::slotOf(fromQt(sender->objectName()).bytes());
    store::Table& games = Table1();
    form_->putTyping();
    games.edit();
    if (const int field = editor::pictureFieldOf(slot)) {
        games.field(editor::pictureField(field)).setAsString(*choice);
        markVisited(pictureEdit(field));
    }
    games.post();
    showPictureIfThere(*choice);
    lastslot_ = slot;
}

// Called on every small move of the pointer: nothing is read or touched
// while it stays over the edit previewed last.
void TForm2::EditImageMouseMove(QWidget* sender) {
    const char slot = editor::slotOf(fromQt(sender->objectName()).bytes());
    if (slot == lastslot_) return;
    const int field = editor::pictureFieldOf(slot);
    setPictureFolder(fieldText(store::games::Sid));
    if (field) showPictureIfThere(fieldText(editor::pictureField(field)));
    lastslot_ = slot;
}

void TForm2::showpic() {
    if (const text::StoredText image = firstPicture(); !image.empty()) showPicture(image);
}

} // namespace gamarium::gui
