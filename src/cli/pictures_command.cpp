#include "cli/pictures_command.h"

#include "cli/options.h"
#include "core/tools/base_tools.h"

namespace gamarium::cli {

int addPictures(Invocation& invocation) {
    tools::PicturesByNameOptions options;
    options.dryRun = invocation.isSet(options::DryRun);
    // 1 to 5, checked by the command table.
    if (const auto slot = invocation.value(options::Slot)) options.slot = (*slot)[0] - '0';
    tools::picturesByNameIntoBase(invocation.base(), invocation.path(invocation.words[1]), options, invocation.what,
                                  [&](const text::StoredText& line) { invocation.status(line); });
    return 0;
}

} // namespace gamarium::cli
