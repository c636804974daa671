#pragma once

#include "files/files.h"

#include <ostream>
#include <string>
#include <vector>

namespace gamarium::cli {

// `gamarium-cli find NAME TEXT [--field F]... [--word]`: the games of base
// NAME whose fields hold TEXT (UTF-8), without regard to case; in every
// field, or in the named ones (Name, Drname, Analog, Publisher, Developer,
// Year, Genre or Type, Text1 to Text4, File, Any). Prints
// "POSITION<TAB>N<TAB>NAME<TAB>FIELD" per match. Throws Error for a text
// Windows-1251 cannot hold or an unknown field.
int runFind(const files::Path& home, const std::string& base, const std::string& text,
            const std::vector<std::string>& fields, bool wholeWord, std::ostream& out);

} // namespace gamarium::cli
