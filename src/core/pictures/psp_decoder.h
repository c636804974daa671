#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <optional>
#include <span>

namespace gamarium::pictures {

// Paint Shop Pro pictures (psp), of every file version from 3 on: the
// composite image when the file carries one, otherwise the first layer that
// holds pixels, laid on white. 1, 4, 8 (palette or grey) and 24 bits per
// pixel; raw, run-length or LZ77 (zlib) compression. Nothing for any file it
// cannot decode.
std::optional<Picture> decodePsp(std::span<const std::uint8_t> bytes);

// The canvas size from the general image attributes, the first block of
// the file (the first 4 KiB always hold it); nothing unless decodePsp would
// accept those attributes.
std::optional<PictureSize> probePspSize(std::span<const std::uint8_t> header);

} // namespace gamarium::pictures
