#pragma once

#include <string>
#include <string_view>

namespace gamarium::text {

// A text from a user's file as a message may quote it: control characters
// as \xNN, and at most `longest` bytes of it (UTF-8, cut on a character
// boundary) followed by "…".
std::string printable(std::string_view utf8, std::size_t longest = 60);

} // namespace gamarium::text
