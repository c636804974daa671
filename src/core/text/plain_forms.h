#pragma once

#include <string_view>

namespace gamarium::text {

// The plain spelling of a character that Windows-1251 lacks but whose
// Unicode compatibility form is plain ASCII: vulgar fractions ("½" is
// "1/2"), superscript and subscript digits ("²" is "2"), the full-width
// forms of ASCII and the ideographic space ("Ａ" is "A"), Roman numerals
// ("Ⅲ" is "III"), the Latin ligatures ("ﬁ" is "fi") and the ordinal
// indicators ("º" is "o"); and the multiplication sign "×" as "x". Empty
// for any other character.
std::string_view plainForm(char32_t cp);

} // namespace gamarium::text
