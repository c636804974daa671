#include "orphans_command.h"

#include "pictures/picture_folder.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "text/cp1251.h"
#include "tools/picture_audit.h"

namespace gamarium::cli {

int runOrphanCheck(const files::Path& home, const std::string& base, bool move, std::ostream& out) {
    const std::string baseName = text::fromUtf8(base);
    store::Table games(store::basesFolder(home), store::gameTableName(baseName));
    games.open();
    const files::Path root = pictures::basePictureFolder(home, baseName);
    const auto print = [&](const std::string& line) { out << text::toUtf8(line) << '\n'; };
    const tools::PictureAudit audit = tools::auditPictures(games, root);
    tools::reportAudit(audit, print);
    if (move) tools::moveOrphans(audit, root, print);
    return 0;
}

} // namespace gamarium::cli
