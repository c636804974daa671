#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// Commands on whole bases and their tables: list, create, empty, convert,
// export and import.
int listBases(Invocation& invocation);
int createBase(Invocation& invocation);
int emptyBase(Invocation& invocation);
int convertBase(Invocation& invocation);
int exportTable(Invocation& invocation);
int importTable(Invocation& invocation);

} // namespace gamarium::cli
