#pragma once

#include <string_view>

namespace gamarium::dat {

// Refuses a text of the file that holds a NUL byte or a control character,
// which no name or value of a DAT holds: DamagedDat at `line`, the text
// quoted with the character escaped.
void checkIsText(std::string_view text, int line);

} // namespace gamarium::dat
