#pragma once

#include "core/pages/messages.h"

#include <optional>
#include <string>
#include <string_view>

// The sentences about a game's releases under other names, from its Analog
// field: one or two entries separated by ";", each a name, a space and the
// region letter in parentheses ("Alpha (e);Beta (u)").
namespace gamarium::pages {

// The release sentences of an Analog text (Windows-1251).
std::string addnames2(std::string_view analog, const MessageSink& messages);

// The region word (prepositional case) for the last character of `text`:
// "e" Europe, "j" Japan, "u" USA. Any other character, or an empty text,
// tells "!!!!!!!!!!!!!" and gives no word.
std::optional<std::string> addnames3(std::string_view text, const MessageSink& messages);

} // namespace gamarium::pages
