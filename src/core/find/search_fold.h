#pragma once

#include <string>
#include <string_view>

// How the game search compares texts: without regard to case in
// Windows-1251 (Latin and Cyrillic letters), with Ё and ё read as е.
namespace gamarium::find {

// A text as the search compares it, byte by byte: lower case, ё for Ё and
// е for ё. The result has the same length, so an offset in it is an
// offset in the original.
std::string foldForSearch(std::string_view text);
// The same, added to the end of `out`.
void appendFolded(std::string& out, std::string_view text);

// A letter (any that has a case) or a digit: what a whole word is made of.
bool isWordCharacter(char c);

} // namespace gamarium::find
