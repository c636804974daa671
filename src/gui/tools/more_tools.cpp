#include "gui/tools/more_tools.h"

#include "core/dat/base_import.h"
#include "core/dat/dat_files.h"
#include "core/session/base_session.h"
#include "core/store/table.h"
#include "core/tools/base_tools.h"
#include "gui/tools/tool_runner.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"

#include <QFileInfo>

namespace gamarium::gui {

MoreTools::MoreTools(QWidget* window, ToolRunner& runner, ToolHost host)
    : window_(window), runner_(runner), host_(std::move(host)) {}

void MoreTools::importDatFiles() {
    const std::optional<QStringList> chosen = FileDialog::openFiles(
        window_, QStringLiteral("DAT-файлы"), QStringLiteral("DAT-файлы|*.dat;*.xml|Все файлы|*.*"));
    if (!chosen) return;
    // A new task: the last one's report goes, also when this one is refused.
    runner_.clear();
    std::vector<files::Path> paths;
    for (const QString& file : *chosen) paths.push_back(toPath(file));
    const dat::DatContents contents = dat::readDatFiles(paths);
    QStringList names;
    for (const QString& file : *chosen) names << QFileInfo(file).fileName();
    session::BaseSession& session = host_.session();
    dat::DatImportResult result;
    runner_.run([&](const auto&, const auto& progress) {
        // Files that bring nothing new leave no point.
        result = dat::importIntoBase(session, contents, "DAT-файлы: " + names.join(QStringLiteral(", ")).toStdString(),
                                     false, [this](const std::string& line) { runner_.reportUtf8(line); }, progress);
    });
    if (result.firstAdded > 0) session.games().moveToPosition(result.firstAdded);
    host_.showGame();
}

void MoreTools::addPicturesByName() {
    const std::optional<QString> folder = FileDialog::openFolder(window_, QStringLiteral("Папка с картинками"));
    if (!folder) return;
    runner_.clear();
    runner_.run([&](const auto& report, const auto& progress) {
        tools::picturesByNameIntoBase(host_.session(), toPath(*folder), {},
                                      "Картинки по именам: " + QFileInfo(*folder).fileName().toStdString(), report,
                                      progress);
    });
    host_.showGame();
}

void MoreTools::auditPictureFolders() {
    runner_.clear();
    session::BaseSession& session = host_.session();
    tools::PictureAudit audit;
    runner_.run([&](const auto& report, const auto& progress) { audit = tools::auditBase(session, report, progress); });
    if (audit.orphans.empty()) return;
    const QString question = QStringLiteral("Перенести лишние картинки (%1) в images/%2/_orphans/?\n"
                                            "Их можно вернуть обратно.")
                                 .arg(audit.orphans.size())
                                 .arg(baseNameToQt(session.baseName()));
    if (!MessageBox::confirm(window_, question)) return;
    tools::moveOrphansOfBase(session, audit, "Перенос лишних картинок в _orphans", runner_.reporter());
}

} // namespace gamarium::gui
