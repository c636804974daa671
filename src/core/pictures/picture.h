#pragma once

#include <cstdint>
#include <vector>

namespace gamarium::pictures {

// A decoded picture: 24-bit RGB, rows top to bottom, each row width * 3
// bytes with no padding. The empty picture is 0 x 0.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    bool empty() const { return width <= 0 || height <= 0; }
};

// The width and height a file declares in its header, read without
// decoding the pixels.
struct PictureSize {
    int width = 0;
    int height = 0;

    friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

} // namespace gamarium::pictures
