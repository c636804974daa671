#pragma once

#include "files/files.h"

#include <ostream>
#include <string>

namespace gamarium::cli {

// `gamarium-cli check orphans NAME [--move]`: the picture files of base NAME
// that no record names, the picture folders no record uses and the pictures
// stored twice, a line each, then a line with the counts; --move moves the
// files no record names into images/NAME/_orphans/<Sid>/.
int runOrphanCheck(const files::Path& home, const std::string& base, bool move, std::ostream& out);

} // namespace gamarium::cli
