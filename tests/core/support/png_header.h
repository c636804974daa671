#pragma once

#include <cstdint>
#include <string>

namespace gamarium::testing {

// The first bytes of a PNG file declaring the size; the pixels are left out.
inline std::string pngHeader(std::uint32_t width, std::uint32_t height) {
    std::string bytes("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (const std::uint32_t side : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            bytes += static_cast<char>((side >> shift) & 0xFF);
    return bytes + std::string("\x08\x02\0\0\0", 5);
}

} // namespace gamarium::testing
