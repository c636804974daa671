// Moving in the editor by a position or the start of a name, and linking a
// game to a record of the patch table.
#include "editor/editor_window.h"

#include "app/windows.h"
#include "editor/quick_jump.h"
#include "patches/patch_window.h"
#include "store/table.h"
#include "ui_editor_window.h"
#include "widgets/qt_text.h"

namespace gamarium::gui {

void TForm2::setupQuickJumpAndPatchLink() {
    connect(ui_->Button10, &QPushButton::clicked, this, &TForm2::Button10Click);
    // Enter in the box jumps as "GO!" does.
    connect(ui_->Edit1, &QLineEdit::returnPressed, this, &TForm2::Button10Click);
    connect(ui_->Button7, &QPushButton::clicked, this, &TForm2::Button7Click);
    ui_->PatchEdit->installEventFilter(this);
}

void TForm2::Button10Click() {
    colorer();
    editor::quickJump(Table1(), fromQt(ui_->Edit1->text()));
    showpic();
}

void TForm2::findname() {
    editor::findname(Table1(), fromQt(ui_->Edit1->text()));
}

void TForm2::Button7Click() {
    TForm3* patches = windows_.form3();
    patches->exec();
    store::Table& games = Table1();
    games.edit();
    games.fieldByName("Patch").setAsString(patches->Table1().fieldByName("N").asString());
    games.post();
    markVisited(ui_->PatchEdit);
}

} // namespace gamarium::gui
