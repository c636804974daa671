#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <span>

namespace gamarium::pictures {

// Decodes an Enhanced Metafile held in memory: libemf2svg turns its
// records into SVG, which librsvg draws on white at the picture's own size.
// The records are walked first so that none of them points outside the
// file. Throws Error on a damaged file and on a picture larger than the
// program's limit, checked before anything is drawn.
Picture decodeEmf(std::span<const std::uint8_t> bytes);

} // namespace gamarium::pictures
