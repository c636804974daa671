#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <optional>
#include <span>

namespace gamarium::pictures {

// Photoshop pictures (psd, and PhotoDeluxe's pdd, which is the same file):
// the merged image that Photoshop stores after the layers, in bitmap, grey,
// duotone, indexed, RGB or CMYK colour, 8 or 16 bits per channel (1 for
// bitmap), raw or PackBits-compressed. Alpha and further channels are not
// shown. Nothing for any file it cannot decode.
std::optional<Picture> decodePsd(std::span<const std::uint8_t> bytes);

// The size from the file header alone (the first 26 bytes suffice); nothing
// unless decodePsd would accept that header.
std::optional<PictureSize> probePsdSize(std::span<const std::uint8_t> header);

} // namespace gamarium::pictures
