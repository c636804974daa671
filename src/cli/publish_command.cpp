#include "cli/publish_command.h"

#include "cli/options.h"
#include "core/files/system.h"
#include "core/publish/publish.h"

#include <string>

namespace gamarium::cli {

int publishFolder(Invocation& invocation) {
    publish::PublishOptions options;
    options.removeGone = invocation.isSet(options::Delete);
    options.dryRun = invocation.isSet(options::DryRun);
    options.check = invocation.isSet(options::Check);
    // 1 to 16, checked by the command table.
    if (const auto jobs = invocation.value(options::Jobs)) options.jobs = static_cast<unsigned>(std::stoul(*jobs));
    const files::Path folder = invocation.path(invocation.words[0]);
    const publish::SiteAddress address = publish::parseSiteAddress(invocation.words[1]);
    publish::Access access;
    access.userHome = files::userHome();
    if (const auto caCert = invocation.value(options::CaCert)) access.caCertificates = invocation.path(*caCert);
    std::ostream& out = invocation.out;
    std::ostream& err = invocation.err;
    const publish::PublishCallbacks callbacks{
        .line = [&out](const std::string& line) { out << line << std::endl; },
        .warning = [&err](const std::string& warning) { err << warning << std::endl; },
        .progress = {},
        .cancelled = {},
    };
    const publish::PublishReport report =
        publish::publishFolder(invocation.home, folder, address, access, options, callbacks);
    out << publish::reportLine(report) << '\n';
    return report.skipped ? 1 : 0;
}

} // namespace gamarium::cli
