#include "cli/pictures_command.h"

#include "core/tools/pictures_by_name.h"

namespace gamarium::cli {

int addPictures(Invocation& invocation) {
    tools::PicturesByNameOptions options;
    options.dryRun = invocation.flag("--dry-run");
    // 1 to 5, checked by the command table.
    if (const auto slot = invocation.value("--slot")) options.slot = (*slot)[0] - '0';
    const std::string& base = invocation.words[0];
    const auto session = invocation.openBase(base);
    store::Table& table = session->games();
    const auto print = [&](const std::string& line) { invocation.status(line); };
    const tools::PicturesByNameCounts counts = tools::addPicturesByName(
        table, session->pictureRoot(), invocation.path(invocation.words[1]), options, print);
    print(tools::countsLine(counts, options.dryRun));
    return 0;
}

} // namespace gamarium::cli
