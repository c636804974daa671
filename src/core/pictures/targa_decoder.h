#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <span>

namespace gamarium::pictures {

// Decodes a Targa file held in memory (tga, and the older win, vst, vda
// and icb names). GraphicsMagick's TGA coder reads every kind but grey
// with alpha (16 bits a pixel, raw or run-length coded), which is read
// here and laid on white. Throws Error on a damaged file.
Picture decodeTarga(std::span<const std::uint8_t> bytes);

} // namespace gamarium::pictures
