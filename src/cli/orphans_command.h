#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `check orphans NAME [--move]`: the picture files of base NAME that no
// record names, the picture folders no record uses and the pictures stored
// twice, a line each, then a line with the counts; --move moves the files
// no record names into images/NAME/_orphans/<Sid>/.
int checkOrphans(Invocation& invocation);

} // namespace gamarium::cli
