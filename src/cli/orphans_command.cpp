#include "cli/orphans_command.h"

#include "cli/options.h"
#include "core/tools/picture_audit.h"

namespace gamarium::cli {

int checkOrphans(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    const files::Path root = base.pictureRoot();
    const auto print = [&](const std::string& line) { invocation.status(line); };
    const tools::PictureAudit audit = tools::auditPictures(base.games(), root);
    tools::reportAudit(audit, print);
    if (invocation.isSet(options::Move)) {
        const auto change = base.beginChange(invocation.what);
        tools::moveOrphans(audit, root, change.journal(), print);
    }
    return 0;
}

} // namespace gamarium::cli
