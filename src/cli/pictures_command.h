#pragma once

#include "files/files.h"

#include <optional>
#include <ostream>
#include <string>

namespace gamarium::cli {

// `gamarium-cli pictures NAME FOLDER [--slot 1..5] [--dry-run]`: brings
// the pictures of a collection named after the games (FOLDER and its
// Named_Boxarts, Named_Snaps, Named_Titles) into base NAME's picture
// folders and fields. Prints a line per picture added or passed over and
// a closing line with the counts.
int runPictures(const files::Path& home, const std::string& base, const std::string& folder,
                const std::optional<std::string>& slot, bool dryRun, std::ostream& out);

} // namespace gamarium::cli
