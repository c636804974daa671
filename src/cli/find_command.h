#pragma once

#include "cli/invocation.h"

namespace gamarium::cli {

// `find NAME TEXT [--field F]... [--word]`: the games of base NAME whose
// fields hold TEXT, without regard to case; in every field, or in the named
// ones (Name, Drname, Analog, Publisher, Developer, Year, Genre or Type,
// Text1 to Text4, File, Any). Prints "POSITION<TAB>N<TAB>NAME<TAB>FIELD"
// per match. A text Windows-1251 cannot hold or an unknown field is an error.
int findGames(Invocation& invocation);

} // namespace gamarium::cli
