#include "core/pictures/targa_decoder.h"

#include "core/error.h"
#include "core/pictures/byte_reader.h"
#include "core/pictures/decoder.h"
#include "core/pictures/magick_decoder.h"

namespace gamarium::pictures {
namespace {

constexpr std::uint8_t kGreyRaw = 3;
constexpr std::uint8_t kGreyRunLength = 11;
constexpr std::uint8_t kTopDown = 0x20;
constexpr std::uint8_t kRightToLeft = 0x10;

struct TargaHeader {
    std::uint8_t idLength = 0;
    std::uint8_t colourMapType = 0;
    std::uint8_t imageType = 0;
    std::uint16_t colourMapLength = 0;
    std::uint8_t colourMapDepth = 0;
    std::uint16_t width = 0;
    std::uint16_t height = 0;
    std::uint8_t depth = 0;
    std::uint8_t descriptor = 0;
};

TargaHeader readHeader(ByteReader& in) {
    TargaHeader h;
    h.idLength = in.u8();
    h.colourMapType = in.u8();
    h.imageType = in.u8();
    in.skip(2);
    h.colourMapLength = in.u16le();
    h.colourMapDepth = in.u8();
    in.skip(4);
    h.width = in.u16le();
    h.height = in.u16le();
    h.depth = in.u8();
    h.descriptor = in.u8();
    return h;
}

// Grey-with-alpha pixels, in file order, as (grey, alpha) pairs; run-length
// packets may run on from one row into the next.
std::vector<std::uint8_t> readGreyAlpha(ByteReader& in, const TargaHeader& h) {
    const std::size_t count = static_cast<std::size_t>(h.width) * h.height;
    if (h.imageType == kGreyRaw) {
        const auto raw = in.take(count * 2);
        return {raw.begin(), raw.end()};
    }
    std::vector<std::uint8_t> pixels;
    pixels.reserve(count * 2);
    while (in.ok() && pixels.size() < count * 2) {
        const std::uint8_t packet = in.u8();
        const std::size_t length = std::min<std::size_t>((packet & 0x7F) + 1, count - pixels.size() / 2);
        if (packet & 0x80) {
            const auto pixel = in.take(2);
            for (std::size_t i = 0; i < length && in.ok(); ++i)
                pixels.insert(pixels.end(), pixel.begin(), pixel.end());
        } else {
            const auto run = in.take(length * 2);
            pixels.insert(pixels.end(), run.begin(), run.end());
        }
    }
    return pixels;
}

Picture decodeGreyAlpha(ByteReader& in, const TargaHeader& h) {
    if (!pictureSizeAllowed(h.width, h.height))
        throw Error("picture too large or empty");
    in.skip(h.idLength);
    if (h.colourMapType == 1)
        in.skip(static_cast<std::size_t>(h.colourMapLength) * ((h.colourMapDepth + 7) / 8));
    const std::vector<std::uint8_t> pixels = readGreyAlpha(in, h);
    if (!in.ok())
        throw Error("Targa file cut off");
    const bool withAlpha = (h.descriptor & 0x0F) != 0;
    Picture picture;
    picture.width = h.width;
    picture.height = h.height;
    picture.rgb.resize(static_cast<std::size_t>(h.width) * h.height * 3);
    for (int y = 0; y < h.height; ++y) {
        const int row = h.descriptor & kTopDown ? y : h.height - 1 - y;
        for (int x = 0; x < h.width; ++x) {
            const int column = h.descriptor & kRightToLeft ? h.width - 1 - x : x;
            const std::size_t from = (static_cast<std::size_t>(y) * h.width + x) * 2;
            const std::uint8_t grey = withAlpha ? onWhite(pixels[from], pixels[from + 1]) : pixels[from];
            const std::size_t to = (static_cast<std::size_t>(row) * h.width + column) * 3;
            picture.rgb[to] = picture.rgb[to + 1] = picture.rgb[to + 2] = grey;
        }
    }
    return picture;
}

} // namespace

Picture decodeTarga(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const TargaHeader header = readHeader(in);
    if (in.ok() && (header.imageType == kGreyRaw || header.imageType == kGreyRunLength) && header.depth == 16)
        return decodeGreyAlpha(in, header);
    return decodeWithMagick(bytes, {.coder = "TGA"});
}

} // namespace gamarium::pictures
