// Moving in the editor by a position or the start of a name, and linking a
// game to a record of the patch table.
#include "gui/editor/editor_window.h"

#include "core/editor/quick_jump.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"
#include "ui_editor_window.h"

namespace gamarium::gui {

void TForm2::setupQuickJumpAndPatchLink() {
    onSignal(ui_->Button10, &QPushButton::clicked, this, [this] { Button10Click(); });
    // Enter in the box jumps as "GO!" does.
    onSignal(ui_->Edit1, &QLineEdit::returnPressed, this, [this] { Button10Click(); });
    onSignal(ui_->Button7, &QPushButton::clicked, this, [this] { Button7Click(); });
    ui_->PatchEdit->installEventFilter(this);
}

// What was typed goes with the record that the jump leaves; a refused save
// keeps it, and the jump does not happen.
void TForm2::Button10Click() {
    colorer();
    form_->save();
    editor::quickJump(Table1(), fromQt(ui_->Edit1->text()).bytes());
    showpic();
}

// Only a patch settled on with OK is linked; closing the patch window
// otherwise leaves Patch as it was.
void TForm2::Button7Click() {
    const std::optional<text::StoredText> patch =
        windows_.pickPatch(*session_, Table1().field(store::games::Patch).asInteger());
    if (!patch) return;
    store::Table& games = Table1();
    form_->putTyping();
    games.edit();
    games.field(store::games::Patch).setAsString(*patch);
    games.post();
    markVisited(ui_->PatchEdit);
}

} // namespace gamarium::gui
