#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `dat NAME FILE... [--dry-run]`: imports the games of the DAT among the
// files with the metadata of the others into the game table of base NAME.
// Prints the import's reports, then the line "добавлено N, дополнено M, без
// изменений K"; with --dry-run what would change, writing nothing. A
// refused file or table throws the error that names it.
int importDat(Invocation& invocation);

} // namespace gamarium::cli
