#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// The editor's quick jump and its "Управление" tools: what the window adds
// to its status memo goes to standard output.
int jump(Invocation& invocation);
int renumber(Invocation& invocation);
int check(Invocation& invocation);
int rename(Invocation& invocation);
int light(Invocation& invocation);
int merge(Invocation& invocation);

} // namespace gamarium::cli
