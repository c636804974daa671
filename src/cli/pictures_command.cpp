#include "cli/pictures_command.h"

#include "cli/options.h"
#include "core/tools/pictures_by_name.h"

namespace gamarium::cli {

int addPictures(Invocation& invocation) {
    tools::PicturesByNameOptions options;
    options.dryRun = invocation.isSet(options::DryRun);
    // 1 to 5, checked by the command table.
    if (const auto slot = invocation.value(options::Slot)) options.slot = (*slot)[0] - '0';
    session::BaseSession& base = invocation.base();
    const auto print = [&](const std::string& line) { invocation.status(line); };
    // A dry run, or a run that finds nothing new, takes no point.
    const auto change = base.beginChange(invocation.what);
    const tools::PicturesByNameCounts counts = tools::addPicturesByName(
        base.games(), base.pictureRoot(), invocation.path(invocation.words[1]), options, change.journal(), print);
    print(tools::countsLine(counts, options.dryRun));
    return 0;
}

} // namespace gamarium::cli
