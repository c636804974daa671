#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <span>

namespace gamarium::pictures {

// Decodes an EPS file held in memory, plain PostScript or with the binary
// header that carries a preview, through GraphicsMagick and Ghostscript.
// The page is the file's bounding box, drawn at 72 dpi, or, for a file
// that holds one raster image (Photoshop's, with an %ImageData comment),
// at the resolution that gives that image's own size. A bounding box or
// image larger than the program's limit refuses the file before anything
// is drawn. Throws Error when the file cannot be decoded.
Picture decodeEps(std::span<const std::uint8_t> bytes);

} // namespace gamarium::pictures
