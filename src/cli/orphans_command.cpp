#include "cli/orphans_command.h"

#include "tools/picture_audit.h"

namespace gamarium::cli {

int checkOrphans(Invocation& invocation) {
    const std::string& base = invocation.words[1];
    const auto table = invocation.openTable(base);
    const files::Path root = invocation.pictureFolder(base);
    const auto print = [&](const std::string& line) { invocation.status(line); };
    const tools::PictureAudit audit = tools::auditPictures(*table, root);
    tools::reportAudit(audit, print);
    if (invocation.flag("--move")) tools::moveOrphans(audit, root, print);
    return 0;
}

} // namespace gamarium::cli
