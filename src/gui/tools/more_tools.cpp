// The editor's "Ещё" button: a menu of the tools beyond the basic ones of
// the "Управление" group, which keeps its layout.
#include "gui/editor/editor_window.h"

#include "gui/app/windows.h"
#include "core/dat/dat_files.h"
#include "core/error.h"
#include "core/dat/dat_import.h"
#include "core/find/followed_texts.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "core/tools/picture_audit.h"
#include "core/tools/pictures_by_name.h"
#include "ui_editor_window.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "gui/widgets/record_form.h"

#include <QAction>
#include <QMenu>

namespace gamarium::gui {

void TForm2::setupMoreTools() {
    auto* menu = new QMenu(ui_->ButtonMore);
    const std::pair<const char*, void (TForm2::*)()> entries[] = {
        {"Найти…", &TForm2::findGames},
        {"DAT-файлы…", &TForm2::importDatFiles},
        {"Картинки по именам…", &TForm2::addPicturesByName},
        {"Лишние картинки", &TForm2::auditPictureFolders},
    };
    for (const auto& entry : entries) {
        QAction* action = menu->addAction(QString::fromUtf8(entry.first));
        onSignal(action, &QAction::triggered, this, [this, handler = entry.second] { (this->*handler)(); });
    }
    // Ctrl+F works anywhere in the editor, the menu closed.
    QAction* find = menu->actions().front();
    find->setShortcut(QKeySequence::Find);
    addAction(find);
    ui_->ButtonMore->setMenu(menu);
    nameControl(ui_->ButtonMore, QStringLiteral("Ещё: поиск, DAT-файлы, картинки по именам, лишние картинки"));
}

// The search reads the games as stored: what was typed is saved first, the
// editor staying on its game.
void TForm2::findGames() {
    if (!session_ || toolRunning_) return;
    form_->save();
    // The "Управление" group stays in view beside it.
    const QRect tools(ui_->GroupBox3->mapToGlobal(QPoint()), ui_->GroupBox3->size());
    windows_.findGames(
        this, tools, [this] { return findTexts_->snapshot(); }, [this](std::int64_t record) { goToGame(record); });
}

void TForm2::goToGame(std::int64_t record) {
    if (!session_ || toolRunning_) return;
    form_->save();
    if (!Table1().moveToRecord(record)) throw Error("Этой игры в базе больше нет.");
    DBNavigatorClick();
}

// A damaged file is refused before the table is touched.
void TForm2::importDatFiles() {
    const std::optional<QStringList> chosen = FileDialog::openFiles(
        this, QStringLiteral("DAT-файлы"), QStringLiteral("DAT-файлы|*.dat;*.xml|Все файлы|*.*"));
    if (!chosen) return;
    // A new task: the last one's report goes, also when this one is refused.
    ui_->Memo_status->clear();
    std::vector<files::Path> paths;
    for (const QString& file : *chosen) paths.push_back(toPath(file));
    const dat::DatContents contents = dat::readDatFiles(paths);
    dat::DatImportResult result;
    runTool([&](const auto&, const auto& progress) {
        const tools::ReportSink report = [this](const std::string& line) { addReport(line); };
        result = dat::importDat(Table1(), contents, report, false, progress);
        if (result.unaccented + result.cut + result.leftEmpty > 0) report(dat::conversionsLine(result));
        report(dat::countsLine(result));
    });
    if (result.firstAdded > 0) Table1().moveToPosition(result.firstAdded);
    DBNavigatorClick();
}

// Each picture goes into the first empty ImageN of its game.
void TForm2::addPicturesByName() {
    const std::optional<QString> folder = FileDialog::openFolder(this, QStringLiteral("Папка с картинками"));
    if (!folder) return;
    ui_->Memo_status->clear();
    runTool([&](const auto& report, const auto& progress) {
        const tools::PicturesByNameCounts counts =
            tools::addPicturesByName(Table1(), session_->pictureRoot(), toPath(*folder), {}, report, progress);
        report(tools::countsLine(counts, false));
    });
    DBNavigatorClick();
}

// Orphans are moved only when the user agrees; moving them back undoes it.
void TForm2::auditPictureFolders() {
    ui_->Memo_status->clear();
    const files::Path root = session_->pictureRoot();
    tools::PictureAudit audit;
    runTool([&](const auto& report, const auto& progress) {
        audit = tools::auditPictures(Table1(), root, progress);
        tools::reportAudit(audit, report);
    });
    if (audit.orphans.empty()) return;
    const QString question = QStringLiteral("Перенести лишние картинки (%1) в images/%2/_orphans/?\n"
                                            "Их можно вернуть обратно.")
                                 .arg(audit.orphans.size())
                                 .arg(toQt(session_->baseName()));
    if (MessageBox::confirm(this, question))
        tools::moveOrphans(audit, root, [this](const std::string& line) { addStatus(line); });
}

} // namespace gamarium::gui
