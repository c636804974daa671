#include "cli/orphans_command.h"

#include "core/tools/picture_audit.h"

namespace gamarium::cli {

int checkOrphans(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[1]);
    const files::Path root = session->pictureRoot();
    const auto print = [&](const std::string& line) { invocation.status(line); };
    const tools::PictureAudit audit = tools::auditPictures(session->games(), root);
    tools::reportAudit(audit, print);
    if (invocation.flag("--move")) {
        const auto change = session->beginChange(invocation.what);
        tools::moveOrphans(audit, root, change.journal(), print);
    }
    return 0;
}

} // namespace gamarium::cli
