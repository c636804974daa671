#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <span>
#include <string_view>

namespace gamarium::pictures {

// What to ask GraphicsMagick for: the coder that reads the bytes, whatever
// they look like (empty: let GraphicsMagick tell the format from them),
// which of the pictures the file holds is wanted, the resolution to draw a
// vector page at ("XxY" dpi; empty: 72), and whether the coder's library
// (libwmf) prints messages, which must be kept off the program's own output.
struct MagickRequest {
    std::string_view coder = {};
    unsigned scene = 0;
    std::string_view density = {};
    bool printsMessages = false;
};

// Decodes the first picture of a file held in memory with GraphicsMagick.
// Transparent parts are laid on white. Throws Error when the coder refuses
// the file, warns that it is damaged, or when the picture is larger than
// the program's limit (GraphicsMagick's own resource limits refuse it
// before its pixels are allocated).
Picture decodeWithMagick(std::span<const std::uint8_t> bytes, const MagickRequest& request);

} // namespace gamarium::pictures
