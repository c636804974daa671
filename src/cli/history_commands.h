#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// The restore points of a base: the list, and putting one back.
int listPoints(Invocation& invocation);
int restorePoint(Invocation& invocation);

} // namespace gamarium::cli
