#include "cli/publish_command.h"

#include "core/files/system.h"
#include "core/publish/publish.h"

#include <charconv>

namespace gamarium::cli {

namespace {

// At most this many connections: hosts cut off a client that opens more.
constexpr unsigned kMostJobs = 16;

unsigned jobsFrom(const std::string& text) {
    unsigned jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (error != std::errc() || end != text.data() + text.size() || jobs < 1 || jobs > kMostJobs) throw UsageError{};
    return jobs;
}

} // namespace

int publishFolder(Invocation& invocation) {
    publish::PublishOptions options;
    options.removeGone = invocation.flag("--delete");
    options.dryRun = invocation.flag("--dry-run");
    options.check = invocation.flag("--check");
    if (const auto jobs = invocation.value("--jobs")) options.jobs = jobsFrom(*jobs);
    const files::Path folder = invocation.path(invocation.words[0]);
    const publish::SiteAddress address = publish::parseSiteAddress(invocation.words[1]);
    publish::Access access;
    access.userHome = files::userHome();
    if (const auto caCert = invocation.value("--cacert")) access.caCertificates = invocation.path(*caCert);
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
    return 0;
}

} // namespace gamarium::cli
