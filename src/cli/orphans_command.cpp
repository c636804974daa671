#include "cli/orphans_command.h"

#include "cli/options.h"
#include "core/tools/base_tools.h"

namespace gamarium::cli {

int checkOrphans(Invocation& invocation) {
    session::BaseSession& base = invocation.base();
    const auto print = [&](const text::StoredText& line) { invocation.status(line); };
    const tools::PictureAudit audit = tools::auditBase(base, print);
    if (invocation.isSet(options::Move)) tools::moveOrphansOfBase(base, audit, invocation.what, print);
    return 0;
}

} // namespace gamarium::cli
