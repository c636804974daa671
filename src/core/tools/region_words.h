#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace gamarium::tools {

// The words that picture collections put after a game's name in
// parentheses for its region letters, whatever their order or case:
//
//   u  USA            ue  USA, Europe
//   j  Japan          ju  Japan, USA
//   e  Europe         je  Japan, Europe
//                     jue World
//
// Nothing for other letters, an empty region among them.
std::optional<std::string> regionWords(std::string_view letters);

} // namespace gamarium::tools
