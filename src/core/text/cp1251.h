#pragma once

#include "core/text/stored_text.h"

#include <string>
#include <string_view>

// The program keeps its texts in 8-bit Windows-1251 (StoredText) and speaks
// UTF-8 to the user; these are the conversions between the two, and the
// code page's own rules for its bytes.
namespace gamarium::text {

// Windows-1251 to UTF-8 and back. Characters that the code page cannot
// hold become '?'; malformed UTF-8 bytes become '?' too.
std::string toUtf8(const StoredText& text);
StoredText fromUtf8(std::string_view utf8);
// As fromUtf8, into `out` (its memory kept for the next text).
void fromUtf8(std::string_view utf8, StoredText& out);

// True when every byte is 7-bit ASCII, the same in both encodings.
bool isAscii(std::string_view s);

// One Windows-1251 byte as a Unicode code point, and back ('?' if absent).
char32_t toCodePoint(unsigned char c);
char fromCodePoint(char32_t cp);

// The code page's case mapping: Latin and Cyrillic letters, Ё/ё included.
char upper(char c);
char lower(char c);
std::string upper(std::string_view s);
std::string lower(std::string_view s);
StoredText upper(const StoredText& s);
StoredText lower(const StoredText& s);

// Latin letters only (A-Z); every other byte stays as it is.
std::string lowerLatin(std::string_view s);

// Equal when compared without regard to case (code page mapping).
bool equalNoCase(std::string_view a, std::string_view b);
bool equalNoCase(const StoredText& a, const StoredText& b);

} // namespace gamarium::text
