// The editor's "Управление" group and "Ещё" menu: the buttons and entries
// that hand the open base to the tools (gui/tools/), and the entries that
// open the find window and the restore points.
#include "gui/editor/editor_window.h"

#include "core/error.h"
#include "core/find/followed_texts.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "gui/tools/more_tools.h"
#include "gui/tools/tool_buttons.h"
#include "gui/tools/tool_runner.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/record_form.h"
#include "ui_editor_window.h"

#include <QAction>
#include <QMenu>

namespace gamarium::gui {

ToolHost TForm2::toolHost() {
    return {
        .session = [this]() -> session::BaseSession& { return *session_; },
        .saveTyping = [this] { form_->save(); },
        .showGame = [this] { DBNavigatorClick(); },
        .showPicture = [this] { showpic(); },
        .askNewName =
            [this] {
                std::optional<text::StoredText> newName = windows_.askNewName();
                if (newName) colorer();
                return newName;
            },
    };
}

void TForm2::setupTools() {
    ToolHost host = toolHost();
    // A child of the editor: a tool in the middle of its work holds the tables.
    toolRunner_ = new ToolRunner(this, ui_->Memo_status, ui_->ToolProgress, host.saveTyping);
    toolButtons_ = std::make_unique<ToolButtons>(this, *toolRunner_, std::move(host), ui_->Edit1);
    onSignal(ui_->Button8, &QPushButton::clicked, this, [this] { Button8Click(); });
    onSignal(ui_->Button12, &QPushButton::clicked, this, [this] { Button12Click(); });
    onSignal(ui_->Button14, &QPushButton::clicked, this, [this] { Button14Click(); });
    onSignal(ui_->Button15, &QPushButton::clicked, this, [this] { Button15Click(); });
    onSignal(ui_->Button13, &QPushButton::clicked, this, [this] { Button13Click(); });
    onSignal(ui_->Button16, &QPushButton::clicked, this, [this] { Button16Click(); });
    onSignal(ui_->Button17, &QPushButton::clicked, this, [this] { Button17Click(); });
}

void TForm2::Button8Click() {
    toolButtons_->renumber();
}

void TForm2::Button12Click() {
    toolButtons_->check(tools::Check::Names);
}

void TForm2::Button14Click() {
    toolButtons_->check(tools::Check::Pictures);
}

void TForm2::Button15Click() {
    toolButtons_->check(tools::Check::PictureNames);
}

void TForm2::Button13Click() {
    toolButtons_->rename();
}

void TForm2::Button16Click() {
    toolButtons_->light();
}

void TForm2::Button17Click() {
    toolButtons_->merge();
}

void TForm2::setupMoreTools() {
    moreTools_ = std::make_unique<MoreTools>(this, *toolRunner_, toolHost());
    auto* menu = new QMenu(ui_->ButtonMore);
    const std::pair<const char*, std::function<void()>> entries[] = {
        {"Найти…", [this] { findGames(); }},
        {"DAT-файлы…", [this] { moreTools_->importDatFiles(); }},
        {"Картинки по именам…", [this] { moreTools_->addPicturesByName(); }},
        {"Лишние картинки", [this] { moreTools_->auditPictureFolders(); }},
        {"Точки восстановления…", [this] { restorePoints(); }},
    };
    for (const auto& [caption, handler] : entries)
        onSignal(menu->addAction(QString::fromUtf8(caption)), &QAction::triggered, this, handler);
    // Ctrl+F works anywhere in the editor, the menu closed.
    QAction* find = menu->actions().front();
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    ui_->ButtonMore->setMenu(menu);
    nameControl(ui_->ButtonMore, QStringLiteral("Ещё: поиск, DAT-файлы, картинки по именам, лишние картинки, точки восстановления"));
}

// The search reads the games as stored: what was typed is saved first, the
// editor staying on its game.
void TForm2::findGames() {
    if (!session_) return;
    form_->save();
    windows_.findGames(
        this, [this] { return findTexts_->snapshot(); }, [this](std::int64_t record) { goToGame(record); });
}

void TForm2::goToGame(std::int64_t record) {
    if (!session_) return;
    form_->save();
    if (!Table1().moveToRecord(record)) throw Error("Этой игры в базе больше нет.");
    DBNavigatorClick();
}

// The restore closes the editor's tables and opens them again: the form
// and the find texts follow the table's events; the editor stays on the
// game it showed where the restored table has it, and the preview is shown anew.
void TForm2::restorePoints() {
    if (!session_) return;
    form_->putTyping();
    const store::RecordId shown = Table1().recordId();
    windows_.showRestorePoints(this, session_->baseName(), [this](int id) {
        return session_->restore(id, false, "Восстановление точки " + std::to_string(id));
    });
    if (!Table1().isOpen() || !session_->patches().isOpen()) {
        MessageBox::inform(this, QStringLiteral("В точке не было таблиц этой базы в формате программы; редактор закрывается."));
        close();
        return;
    }
    if (shown != 0) Table1().moveToRecord(shown);
    DBNavigatorClick();
}

} // namespace gamarium::gui
