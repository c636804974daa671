#pragma once

#include <string_view>

namespace gamarium::files {

// Whether a name taken from a record (a Sid, a picture's name) may be
// joined onto a folder without leading out of it: not empty, not "." or
// "..", no path separator, drive colon or control character.
bool isPlainName(std::string_view name);

} // namespace gamarium::files
