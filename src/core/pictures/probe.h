#pragma once

#include "core/pictures/decoder.h"
#include "core/pictures/picture.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

namespace gamarium::files {
class FileReader;
}

// The size of a picture file without decoding it, for the page generator,
// which lays out hundreds of pictures. The size comes from the header
// (the first few kilobytes; a JPEG's markers and a TIFF's directory are
// followed to where they lie) and agrees with what decodePicture gives.
// Nothing when the header does not parse: such a file cannot be decoded.
//
// EPS files, and metafiles without the placeable header, keep their size in
// the drawing itself (an EPS bounding box may stand at the end of the
// file, and Ghostscript decides which one counts); for those the probe
// decodes the file.
namespace gamarium::pictures {

std::optional<PictureSize> probePictureSize(const std::filesystem::path& file);
// The same for `file` already open as `reader`.
std::optional<PictureSize> probePictureSize(const files::FileReader& reader, const std::filesystem::path& file);
// The same over a whole file held in memory.
std::optional<PictureSize> probePictureBytes(std::span<const std::uint8_t> bytes, PictureFormat format);

} // namespace gamarium::pictures
