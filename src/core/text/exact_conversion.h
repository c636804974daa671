#pragma once

#include "core/text/stored_text.h"

#include <string>
#include <string_view>

// Conversions that refuse instead of changing a text: for reading files in
// which every character must arrive as it was written.
namespace gamarium::text {

struct ExactText {
    StoredText text;     // when `problem` is empty
    std::string problem; // what stands in the way, in Russian (UTF-8)
};

// UTF-8 as Windows-1251: every sequence must be well-formed UTF-8 (no
// overlong forms, surrogates or values past U+10FFFF) and every character
// must have a form in the code page.
ExactText fromUtf8Exactly(std::string_view utf8);

// As fromUtf8Exactly, except that Latin letters the code page lacks are
// written without their accents ("é" as "e", "ø" as "o", a combining accent
// dropped) or spelled out ("ß" as "ss", "æ" as "ae"), and characters with a
// plain form (plain_forms.h) are spelled in it ("½" as "1/2"); `unaccented`
// counts the characters and accents so changed.
ExactText fromUtf8Unaccented(std::string_view utf8, int& unaccented);

// Whether the bytes are well-formed UTF-8 as fromUtf8Exactly reads it.
bool isUtf8(std::string_view bytes);

// A text given in UTF-8 (a command's argument) as the program stores it:
// throws Error naming the first character Windows-1251 cannot hold, so
// that no character becomes "?" on its way into a table.
StoredText toStoredText(std::string_view utf8);

// Windows-1251 bytes taken as they are; only the byte 0x98, which the code
// page leaves unassigned, is refused.
ExactText fromCp1251Exactly(std::string_view cp1251);

} // namespace gamarium::text
