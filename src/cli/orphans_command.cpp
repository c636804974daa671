#include "cli/orphans_command.h"

#include "core/tools/base_tools.h"

namespace gamarium::cli {

int checkOrphans(Invocation& invocation) {
    const auto session = invocation.openBase(invocation.words[1]);
    const auto print = [&](const std::string& line) { invocation.status(line); };
    const tools::PictureAudit audit = tools::auditBase(*session, print);
    if (invocation.flag("--move")) tools::moveOrphansOfBase(*session, audit, invocation.what, print);
    return 0;
}

} // namespace gamarium::cli
