#pragma once

#include "core/pictures/picture.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// Decoding of the picture files the program shows. The file's extension,
// whatever its letter case, chooses the decoder; a file that cannot be
// decoded for any reason gives the empty picture, never an exception.
namespace gamarium::pictures {

// The picture formats, one per decoder family.
enum class PictureFormat {
    Bmp,  // bmp, rle, dib
    Ico,  // ico
    Wmf,  // wmf
    Emf,  // emf
    Jpeg, // jfif, jpg, jpe, jpeg
    Targa, // win, vst, vda, tga, icb
    Tiff, // tiff, tif, fax
    Eps,  // eps
    Pcx,  // pcx, pcc, scr
    Rla,  // rpf, rla
    Sgi,  // sgi, rgba, rgb, bw
    Psd,  // psd, pdd
    Pnm,  // ppm, pgm, pbm
    Cel,  // cel, pic
    Pcd,  // pcd
    Cut,  // cut
    Psp,  // psp
    Png,  // png
};

// The format an extension (with or without its dot, any letter case)
// stands for; nothing for an extension that is not a picture's.
std::optional<PictureFormat> formatOfExtension(std::string_view extension);

// The format a file's bytes are read as: the one its extension names,
// unless they begin with the unmistakable signature of another of the
// program's formats (PNG, JPEG, TIFF, Photoshop), as pictures saved from
// the web often carry the wrong extension.
PictureFormat formatOfContent(std::span<const std::uint8_t> bytes, PictureFormat byExtension);

// Whether the bytes begin with the signature (a byte string).
bool hasSignature(std::span<const std::uint8_t> bytes, std::string_view signature);

// The largest picture the program decodes: a file declaring more is
// refused before its pixels are allocated.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::int64_t kMaxPicturePixels = 64LL * 1024 * 1024;
constexpr bool pictureSizeAllowed(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
           width * height <= kMaxPicturePixels;
}

// A colour sample of a partly transparent pixel laid on white, which is
// how every decoder shows transparency.
constexpr std::uint8_t onWhite(unsigned value, unsigned alpha) {
    return static_cast<std::uint8_t>((value * alpha + 255 * (255 - alpha) + 127) / 255);
}

// A decoding together with the reason it failed (empty on success),
// for the command line's report.
struct DecodeOutcome {
    Picture picture;
    std::string error;
};

Picture decodePicture(const std::filesystem::path& file);
DecodeOutcome decodePictureExplained(const std::filesystem::path& file);
// Decodes bytes as a file of the given format would be decoded.
DecodeOutcome decodePictureBytes(std::span<const std::uint8_t> bytes, PictureFormat format);

} // namespace gamarium::pictures
