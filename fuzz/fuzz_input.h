#pragma once

#include "core/pictures/decoder.h"

#include <cstdint>
#include <algorithm>
#include <cstring>
#include <optional>
#include <span>
#include <string_view>

namespace gamarium::fuzz {

// A fuzz input is a file extension, a zero byte, then the file's bytes, so
// that a seed is any picture file with its extension put in front.
struct FuzzFile {
    pictures::PictureFormat format;
    std::span<const std::uint8_t> bytes;
};

// EPS is left out: its drawing runs in a Ghostscript process of its own,
// outside what the fuzzer can watch, and would take most of its time.
inline std::optional<FuzzFile> splitInput(const std::uint8_t* data, std::size_t size) {
    const void* zero = std::memchr(data, 0, std::min<std::size_t>(size, 8));
    if (!zero)
        return std::nullopt;
    const auto extensionSize = static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - data);
    const auto format = pictures::formatOfExtension({reinterpret_cast<const char*>(data), extensionSize});
    if (!format || *format == pictures::PictureFormat::Eps)
        return std::nullopt;
    return FuzzFile{*format, {data + extensionSize + 1, size - extensionSize - 1}};
}

} // namespace gamarium::fuzz
