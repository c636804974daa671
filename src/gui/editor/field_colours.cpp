// The editor's field highlighting: every field starts a record in the fresh
// colour, the focused one is highlighted, and one the user has left keeps
// the visited colour until another record is shown.
#include "gui/editor/editor_window.h"

#include "gui/widgets/combo_list.h"
#include "ui_editor_window.h"

#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>

namespace gamarium::gui {
namespace {

const QColor kHighlight(0xBB, 0xDD, 0xFF);

enum class Colour { Highlight, Fresh, Visited };

void paint(QWidget* control, Colour colour) {
    QPalette palette = control->palette();
    const QPalette system = QApplication::palette(control);
    const QColor value = colour == Colour::Highlight ? kHighlight
                         : colour == Colour::Fresh   ? system.color(QPalette::Base)
                                                     : system.color(QPalette::Button);
    palette.setColor(QPalette::Base, value);
    control->setPalette(palette);
}

} // namespace

void TForm2::setupFieldColours() {
    for (const EditorField& bound : fields_) {
        if (bound.look == FieldLook::Plain) continue;
        if (bound.look == FieldLook::Kept) paint(bound.control, Colour::Visited);
        bound.control->installEventFilter(this);
    }
    ui_->ComboBox1->installEventFilter(this);
}

void TForm2::markVisited(QWidget* control) {
    paint(control, Colour::Visited);
}

// Enter and leave come from the focus moving inside the window; a window
// losing or regaining the focus as a whole (a message box, another program)
// is no entering or leaving of a field.
void TForm2::dispatchFocus(QWidget* control, QEvent* event) {
    const bool in = event->type() == QEvent::FocusIn;
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason) return;
    if (control == ui_->DBComboBox1 || control == ui_->DBComboBox2) {
        in ? DBComboBox1Enter(control) : DBComboBox2Enter(control);
    } else if (control == ui_->ComboBox1) {
        if (in) ComboBox1Enter(control);
    } else if (qobject_cast<QLineEdit*>(control)) {
        in ? EditRegionEnter(control) : EditNExit(control);
    }
}

void TForm2::EditRegionEnter(QWidget* sender) {
    paint(sender, Colour::Highlight);
}

void TForm2::EditNExit(QWidget* sender) {
    paint(sender, Colour::Visited);
    if (sender->objectName() == QStringLiteral("EditPublisher")) paint(ui_->EditDeveloper, Colour::Visited);
}

void TForm2::DBComboBox1Enter(QWidget* sender) {
    paint(sender, Colour::Highlight);
}

void TForm2::DBComboBox2Enter(QWidget* sender) {
    paint(sender, Colour::Visited);
    if (sender->objectName() == QStringLiteral("DBComboBox2")) paint(ui_->ComboBox1, Colour::Visited);
}

void TForm2::ComboBox1Enter(QWidget* sender) {
    paint(sender, Colour::Highlight);
}

// The Genre box gets the type list back; what it shows stays, the record's
// value or what the user typed there.
void TForm2::colorer() {
    QStringList types;
    for (int i = 0; i < ui_->DBComboBox1->count(); ++i) types << ui_->DBComboBox1->itemText(i);
    refillKeepingText(ui_->DBComboBox2, types);
    for (const EditorField& bound : fields_)
        if (bound.look == FieldLook::Coloured) paint(bound.control, Colour::Fresh);
    paint(ui_->ComboBox1, Colour::Fresh);
}

void TForm2::colorcontrol() {
    QWidget* focused = focusWidget();
    if (!focused) return;
    // The line edit inside a combo box has the focus on the box's behalf.
    if (auto* box = qobject_cast<QComboBox*>(focused->parentWidget()); box && box != ui_->ComboBox1) focused = box;
    const bool dataEdit = qobject_cast<QLineEdit*>(focused) && focused != ui_->Edit1;
    const bool dataCombo = focused == ui_->DBComboBox1 || focused == ui_->DBComboBox2;
    if (dataEdit || dataCombo) paint(focused, Colour::Highlight);
}

} // namespace gamarium::gui
