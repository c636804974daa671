#pragma once

#include <cstddef>
#include <string_view>

namespace gamarium::text {

// Where `needle` first occurs in `haystack` at or after `from`; npos when
// nowhere. Uses the C library's tuned search where it has one.
std::size_t findBytes(std::string_view haystack, std::string_view needle, std::size_t from);

} // namespace gamarium::text
