#pragma once

#include <string_view>

namespace gamarium::files {

// Whether a program text (Windows-1251) names one entry of a folder when
// joined onto it, and nothing else: what a picture group (Sid) and a
// picture's file name must be. Refused are the empty text, "." and "..",
// a path separator (/ or \), a colon (a drive such as "C:", or a stream on
// Windows) and control characters: joined onto a folder, each of them
// names the folder itself, a place outside it, or differs between systems.
bool isPlainName(std::string_view name);

} // namespace gamarium::files
