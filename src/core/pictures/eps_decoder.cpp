#include "core/pictures/eps_decoder.h"

#include "core/error.h"
#include "core/pictures/byte_reader.h"
#include "core/pictures/decoder.h"
#include "core/pictures/magick_decoder.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gamarium::pictures {
namespace {

using namespace std::string_view_literals;

constexpr std::string_view kBinarySignature = "\xC5\xD0\xD3\xC6"sv;

struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;
    double width() const { return std::abs(right - left); }
    double height() const { return std::abs(top - bottom); }
};

// The binary header: offset and length of the PostScript, of a Windows
// metafile preview and of a TIFF preview.
struct Sections {
    std::uint32_t postScript = 0, postScriptLength = 0, metafile = 0, metafileLength = 0, tiff = 0, tiffLength = 0;
};

Sections sectionsOf(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    in.skip(4);
    Sections s;
    for (std::uint32_t* field : {&s.postScript, &s.postScriptLength, &s.metafile, &s.metafileLength, &s.tiff,
                                 &s.tiffLength})
        *field = in.u32le();
    if (!in.ok() || s.postScript > bytes.size())
        throw Error("damaged EPS header");
    return s;
}

// A binary EPS whose PostScript is the last section yet stops short of the
// end of the file: a trailer was added (with the bounding box promised
// "(atend)") by a tool that left the length as it was. The copy returned
// has the length reach the end.
std::vector<std::uint8_t> withTrailer(std::span<const std::uint8_t> bytes) {
    std::vector<std::uint8_t> copy(bytes.begin(), bytes.end());
    if (!hasSignature(bytes, kBinarySignature))
        return copy;
    const Sections s = sectionsOf(bytes);
    const auto before = [&](std::uint32_t offset, std::uint32_t length) { return length == 0 || offset < s.postScript; };
    if (before(s.metafile, s.metafileLength) && before(s.tiff, s.tiffLength)) {
        const auto length = static_cast<std::uint32_t>(bytes.size() - s.postScript);
        for (int i = 0; i < 4; ++i)
            copy[8 + i] = static_cast<std::uint8_t>(length >> (8 * i));
    }
    return copy;
}

std::string_view postScriptOf(std::span<const std::uint8_t> bytes) {
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!hasSignature(bytes, kBinarySignature))
        return text;
    const Sections s = sectionsOf(bytes);
    return text.substr(s.postScript, s.postScriptLength);
}

std::optional<Box> boxAt(std::string_view text) {
    const std::string line(text.substr(0, 100));
    Box box;
    if (std::sscanf(line.c_str(), "%lf %lf %lf %lf", &box.left, &box.bottom, &box.right, &box.top) != 4)
        return std::nullopt;
    return box;
}

// Every bounding box comment (the high-resolution and page ones included)
// must be within the program's limit at 72 dpi, as Ghostscript draws the
// page before anyone can look at its size. Gives the last %%BoundingBox,
// the one GraphicsMagick sets the page by.
std::optional<Box> pageBox(std::string_view postScript) {
    constexpr std::string_view kKey = "BoundingBox:";
    std::optional<Box> page;
    for (std::size_t at = postScript.find(kKey); at != std::string_view::npos; at = postScript.find(kKey, at + 1)) {
        const auto box = boxAt(postScript.substr(at + kKey.size()));
        if (!box)
            continue;
        if (!(box->width() <= kMaxPictureSide && box->height() <= kMaxPictureSide &&
              box->width() * box->height() <= kMaxPicturePixels))
            throw Error("picture too large");
        if (at >= 2 && postScript.substr(at - 2, 2) == "%%")
            page = box;
    }
    return page;
}

// For a page that is one raster image of W x H pixels, the resolution (as
// GraphicsMagick's density, "XxY" in dpi) at which the page comes out at
// that size.
std::string imageDensity(std::string_view postScript, const std::optional<Box>& page) {
    constexpr std::string_view kKey = "%ImageData:";
    const std::size_t at = postScript.find(kKey);
    int width = 0, height = 0;
    if (at == std::string_view::npos || !page || page->width() < 1 || page->height() < 1 ||
        std::sscanf(std::string(postScript.substr(at + kKey.size(), 40)).c_str(), "%d %d", &width, &height) != 2)
        return {};
    if (!pictureSizeAllowed(width, height))
        throw Error("picture too large");
    char density[64];
    std::snprintf(density, sizeof density, "%.6fx%.6f", width * 72 / page->width(), height * 72 / page->height());
    return density;
}

} // namespace

Picture decodeEps(std::span<const std::uint8_t> bytes) {
    if (!hasSignature(bytes, "%!PS") && !hasSignature(bytes, kBinarySignature))
        throw Error("not an EPS file");
    const std::vector<std::uint8_t> whole = withTrailer(bytes);
    const std::string_view postScript = postScriptOf(whole);
    const std::string density = imageDensity(postScript, pageBox(postScript));
    // GraphicsMagick is left to tell plain PostScript from the binary header
    // itself: EPS is the one format it recognises on its own.
    return decodeWithMagick(whole, {.density = density});
}

} // namespace gamarium::pictures
