#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <span>

namespace gamarium::pictures {

// Decodes a JPEG file held in memory with libjpeg: baseline and
// progressive, grey, YCbCr, RGB, CMYK and YCCK (Adobe's inverted CMYK
// included). Throws Error on a damaged or truncated file (any libjpeg
// warning counts as damage) and on a picture larger than the program's
// limit, which is checked from the header before any pixel memory exists.
Picture decodeJpeg(std::span<const std::uint8_t> bytes);

} // namespace gamarium::pictures
