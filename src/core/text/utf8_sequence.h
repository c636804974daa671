#pragma once

#include <cstddef>
#include <string_view>

namespace gamarium::text {

// The length of the well-formed UTF-8 sequence at `at` and its code point,
// or 0 when the bytes there are not one (overlong forms, surrogates and
// values past U+10FFFF are not).
std::size_t utf8SequenceAt(std::string_view text, std::size_t at, char32_t& cp);

} // namespace gamarium::text
