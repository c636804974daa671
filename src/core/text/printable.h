#pragma once

#include <string>
#include <string_view>

// Texts of the user's files as messages (UTF-8) quote them: every
// character shown as itself, so that a report names what it complains
// about, except what a terminal would take for a command.
namespace gamarium::text {

// A text from a user's file as a message may quote it: control characters
// (U+0000 to U+001F, U+007F to U+009F), the marks that turn the direction
// of the text or break its line (U+202A to U+202E, U+2066 to U+2069,
// U+2028, U+2029) and bytes that are not UTF-8 as \xNN for each byte, and
// at most about `longest` bytes of it (cut between characters) followed by
// "…".
std::string printable(std::string_view utf8, std::size_t longest = 60);

// printable(utf8, longest) in «quotes».
std::string quoted(std::string_view utf8, std::size_t longest = 60);

// One character (`utf8`, the code point `cp`) as a message names it: itself
// and its code, «½» (U+00BD).
std::string characterName(std::string_view utf8, char32_t cp);

} // namespace gamarium::text
