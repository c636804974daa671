#pragma once

#include "core/text/stored_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reading a game list file: one game a line, "name part;region".
namespace gamarium::tools {

// The text with one bracketed tag removed: the one beginning at the first
// occurrence of `tag` ("[" closes with "]", any other tag with ")").
std::string cuttag(std::string_view text, std::string_view tag);

// A list name without its tags in square brackets and parentheses.
std::string cleanname(std::string_view namePart);

// What one line of a list file adds.
struct ListGame {
    text::StoredText name, sid, region;
};

// The game a line gives, or nothing for a line without ";", whose name is
// empty once cleaned, or whose picture group could not be a folder name.
// `line` is a line of ListFile::text.
std::optional<ListGame> parseListLine(std::string_view line);

// The lines of a list file: CR LF, a lone CR or a lone LF ends a line.
std::vector<std::string> listLines(std::string_view file);

// A list file's text and the encoding it was read in.
struct ListFile {
    enum class Encoding { Utf8, Cp1251 };
    text::StoredText text;
    Encoding encoding = Encoding::Cp1251;
};

// A list file's bytes as text: UTF-8 when they are well-formed UTF-8 with
// characters beyond ASCII or begin with UTF-8's byte order mark, otherwise
// Windows-1251. Throws Error, naming the line or the character, for a NUL
// byte and for a character that Windows-1251 cannot hold.
ListFile readListFile(std::string_view bytes);

// The status line that says which encoding a list was read in.
text::StoredText encodingLine(const ListFile& list);

} // namespace gamarium::tools
