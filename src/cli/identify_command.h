#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `identify FILE...`: decodes each picture file as the program would show it
// and prints "FILE<TAB>WIDTH<TAB>HEIGHT", or "FILE<TAB>error: REASON" for a
// file that cannot be decoded (a result, not an error of the command).
// Returns 1 if any file could not be decoded, else 0.
int identify(Invocation& invocation);

} // namespace gamarium::cli
