#include "cli/pictures_command.h"

#include "core/tools/base_tools.h"

namespace gamarium::cli {

int addPictures(Invocation& invocation) {
    tools::PicturesByNameOptions options;
    options.dryRun = invocation.flag("--dry-run");
    // 1 to 5, checked by the command table.
    if (const auto slot = invocation.value("--slot")) options.slot = (*slot)[0] - '0';
    const auto session = invocation.openBase(invocation.words[0]);
    tools::picturesByNameIntoBase(*session, invocation.path(invocation.words[1]), options, invocation.what,
                                  [&](const std::string& line) { invocation.status(line); });
    return 0;
}

} // namespace gamarium::cli
