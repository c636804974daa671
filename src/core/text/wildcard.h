#pragma once

#include <string_view>

namespace gamarium::text {

// File pattern matching as the Windows file functions do it: '*' stands for
// any run of characters, '?' for one character, letter case is ignored
// (code page mapping), and a pattern ending in ".*" also matches names
// without a dot ("*.*" matches every name).
bool matchesWildcard(std::string_view pattern, std::string_view name);

} // namespace gamarium::text
