#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace gamarium::fuzz {

// Takes a text from the front of `rest`, ended by a zero byte; empty when
// the input has run out. `rest` keeps what follows, so the last part of an
// input may hold zero bytes of its own.
inline std::string_view takeField(std::string_view& rest) {
    const std::size_t end = rest.find('\0');
    const std::string_view field = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    return field;
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

} // namespace gamarium::fuzz
