#pragma once

#include "core/pictures/picture.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Access to the picture fixtures under tests/data/pictures: the quad.*
// files written by make_fixtures.py there show four quadrants, red (top
// left), green (top right), blue (bottom left) and white.
namespace gamarium::testing {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<int, 3>;

inline std::filesystem::path picturePath(const std::string& name) {
    return std::filesystem::path(GAMARIUM_TEST_DATA) / "pictures" / name;
}

inline Bytes readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::filesystem::path& file, const Bytes& bytes) {
    std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                 static_cast<std::streamsize>(bytes.size()));
}

inline Rgb pixelAt(const pictures::Picture& picture, int x, int y) {
    const std::size_t at = (static_cast<std::size_t>(y) * picture.width + x) * 3;
    return {picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]};
}

} // namespace gamarium::testing
