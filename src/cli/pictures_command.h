#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `pictures NAME FOLDER [--slot 1..5] [--dry-run]`: brings the pictures of a
// collection named after the games (FOLDER and its Named_Boxarts,
// Named_Snaps, Named_Titles) into base NAME's picture folders and fields.
// Prints a line per picture added or passed over and a closing line with
// the counts.
int addPictures(Invocation& invocation);

} // namespace gamarium::cli
