#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <optional>
#include <span>

namespace gamarium::pictures {

// Autodesk Animator pictures and cels (cel, pic), in the three layouts the
// two programs wrote: the original Animator's fixed one (a 6-bit palette and
// raw pixels), Animator Pro's picture of typed chunks, and Animator Pro's
// cel, which is a flic whose first frame is shown. Nothing for any file it
// cannot decode.
std::optional<Picture> decodeCel(std::span<const std::uint8_t> bytes);

// The size from the file header alone (the first 128 bytes suffice);
// nothing unless decodeCel would accept that header.
std::optional<PictureSize> probeCelSize(std::span<const std::uint8_t> header);

} // namespace gamarium::pictures
