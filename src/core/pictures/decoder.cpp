#include "core/pictures/decoder.h"

#include "core/error.h"
#include "core/pictures/cel_decoder.h"
#include "core/pictures/emf_decoder.h"
#include "core/pictures/eps_decoder.h"
#include "core/pictures/jpeg_decoder.h"
#include "core/pictures/magick_decoder.h"
#include "core/pictures/psd_decoder.h"
#include "core/pictures/psp_decoder.h"
#include "core/pictures/targa_decoder.h"
#include "core/pictures/wmf_check.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <fstream>
#include <new>
#include <utility>
#include <vector>

namespace gamarium::pictures {
namespace {

using enum PictureFormat;
using namespace std::string_view_literals;

constexpr std::pair<std::string_view, PictureFormat> kExtensions[] = {
    {"bmp", Bmp},   {"rle", Bmp},   {"dib", Bmp},   {"ico", Ico},   {"wmf", Wmf},   {"emf", Emf},
    {"jfif", Jpeg}, {"jpg", Jpeg},  {"jpe", Jpeg},  {"jpeg", Jpeg}, {"win", Targa}, {"vst", Targa},
    {"vda", Targa}, {"tga", Targa}, {"icb", Targa}, {"tiff", Tiff}, {"tif", Tiff},  {"fax", Tiff},
    {"eps", Eps},   {"pcx", Pcx},   {"pcc", Pcx},   {"scr", Pcx},   {"rpf", Rla},   {"rla", Rla},
    {"sgi", Sgi},   {"rgba", Sgi},  {"rgb", Sgi},   {"bw", Sgi},    {"psd", Psd},   {"pdd", Psd},
    {"ppm", Pnm},   {"pgm", Pnm},   {"pbm", Pnm},   {"cel", Cel},   {"pic", Cel},   {"pcd", Pcd},
    {"cut", Cut},   {"psp", Psp},   {"png", Png},
};

constexpr std::pair<std::string_view, PictureFormat> kSignatures[] = {
    {"\x89PNG\r\n\x1A\n"sv, Png}, {"\xFF\xD8\xFF"sv, Jpeg}, {"II*\0"sv, Tiff}, {"MM\0*"sv, Tiff},
    {"II+\0"sv, Tiff},             {"MM\0+"sv, Tiff},        {"8BPS"sv, Psd},
};

// A Photo CD file holds one photo at several sizes from 192 x 128 up; the
// fourth, 768 x 512, is the base size that every such file has.
constexpr unsigned kPhotoCdBase = 3;

// A file larger than this is not read at all: no picture within the size
// limit needs more bytes than this in any of the formats.
constexpr std::uintmax_t kMaxFileBytes = 512ull * 1024 * 1024;

// The GraphicsMagick coder that reads each format that needs nothing more
// than its coder named.
std::string_view magickCoder(PictureFormat format) {
    switch (format) {
    case Ico: return "ICO";
    case Tiff: return "TIFF";
    case Rla: return "RLA";
    case Sgi: return "SGI";
    case Pnm: return "PNM";
    case Cut: return "CUT";
    case Png: return "PNG";
    default: return {};
    }
}

Picture ownDecoding(std::optional<Picture> picture) {
    if (!picture || picture->empty())
        throw Error("damaged or unsupported picture");
    return std::move(*picture);
}

// A 256-colour PCX keeps its palette in the last 769 bytes, after a marker
// byte 12; GraphicsMagick shows a file cut short, palette lost, in grey.
Picture decodePcx(std::span<const std::uint8_t> bytes) {
    constexpr std::size_t kPaletteBytes = 769;
    constexpr std::size_t kHeaderBytes = 128;
    const bool palette256 = bytes.size() > kHeaderBytes && bytes[3] == 8 && bytes[65] == 1;
    if (palette256 && (bytes.size() < kHeaderBytes + kPaletteBytes || bytes[bytes.size() - kPaletteBytes] != 0x0C))
        throw Error("PCX file cut off before its palette");
    return decodeWithMagick(bytes, {.coder = "PCX"});
}

Picture decodeWmf(std::span<const std::uint8_t> bytes) {
    requireSoundMetafile(bytes);
    return decodeWithMagick(bytes, {.coder = "WMF", .printsMessages = true});
}

Picture decodeFormat(std::span<const std::uint8_t> bytes, PictureFormat format) {
    switch (format) {
    case Jpeg: return decodeJpeg(bytes);
    case Emf: return decodeEmf(bytes);
    case Targa: return decodeTarga(bytes);
    case Eps: return decodeEps(bytes);
    case Pcd: return decodeWithMagick(bytes, {.coder = "PCD", .scene = kPhotoCdBase});
    case Wmf: return decodeWmf(bytes);
    case Pcx: return decodePcx(bytes);
    case Bmp: return decodeWithMagick(bytes, {.coder = hasSignature(bytes, "BM") ? "BMP" : "DIB"});
    case Psd: return ownDecoding(decodePsd(bytes));
    case Psp: return ownDecoding(decodePsp(bytes));
    case Cel: return ownDecoding(decodeCel(bytes));
    default: return decodeWithMagick(bytes, {.coder = magickCoder(format)});
    }
}

std::vector<std::uint8_t> readWhole(const std::filesystem::path& file) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error)
        throw Error("file cannot be read");
    if (size > kMaxFileBytes)
        throw Error("file too large");
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    std::ifstream in(file, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size())))
        throw Error("file cannot be read");
    return bytes;
}

} // namespace

std::optional<PictureFormat> formatOfExtension(std::string_view extension) {
    if (extension.starts_with('.'))
        extension.remove_prefix(1);
    const std::string lower = text::lowerLatin(extension);
    for (const auto& [name, format] : kExtensions)
        if (name == lower)
            return format;
    return std::nullopt;
}

PictureFormat formatOfContent(std::span<const std::uint8_t> bytes, PictureFormat byExtension) {
    for (const auto& [signature, format] : kSignatures)
        if (hasSignature(bytes, signature))
            return format;
    return byExtension;
}

bool hasSignature(std::span<const std::uint8_t> bytes, std::string_view signature) {
    return bytes.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), bytes.begin(),
                      [](char s, std::uint8_t b) { return static_cast<std::uint8_t>(s) == b; });
}

DecodeOutcome decodePictureBytes(std::span<const std::uint8_t> bytes, PictureFormat format) {
    DecodeOutcome outcome;
    try {
        outcome.picture = decodeFormat(bytes, formatOfContent(bytes, format));
    } catch (const Error& error) {
        outcome.error = error.what();
    } catch (const std::bad_alloc&) {
        outcome.error = "out of memory";
    } catch (...) {
        // Whatever a library throws, a picture that cannot be decoded is
        // shown as no picture.
        outcome.error = "decoder failure";
    }
    if (!outcome.error.empty())
        outcome.picture = Picture{};
    return outcome;
}

DecodeOutcome decodePictureExplained(const std::filesystem::path& file) {
    const auto format = formatOfExtension(file.extension().string());
    if (!format)
        return {{}, "not a picture file extension"};
    std::vector<std::uint8_t> bytes;
    try {
        bytes = readWhole(file);
    } catch (const Error& error) {
        return {{}, error.what()};
    } catch (const std::bad_alloc&) {
        return {{}, "out of memory"};
    }
    return decodePictureBytes(bytes, *format);
}

Picture decodePicture(const std::filesystem::path& file) { return decodePictureExplained(file).picture; }

} // namespace gamarium::pictures
