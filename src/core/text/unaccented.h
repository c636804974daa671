#pragma once

#include <string_view>

namespace gamarium::text {

// A Latin letter of U+00C0 to U+017F spelled without its accent ("é" is
// "e", "Ø" is "O") or spelled out ("ß" is "ss", "æ" is "ae"); empty for
// any other character.
std::string_view unaccented(char32_t cp);

// True for the combining accents (U+0300 to U+036F) that follow a letter in
// decomposed text.
bool isCombiningAccent(char32_t cp);

} // namespace gamarium::text
