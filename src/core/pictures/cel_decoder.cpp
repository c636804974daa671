#include "core/pictures/cel_decoder.h"

#include "core/pictures/byte_reader.h"
#include "core/pictures/decoder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace gamarium::pictures {
namespace {

// The original Animator's pictures and cels: a 32-byte header marked at
// offset 0, 256 colours of 6 bits each, then one byte per pixel.
constexpr std::uint16_t kAnimatorMark = 0x9119;
constexpr std::size_t kAnimatorHeader = 32;
// Animator Pro's pictures: a 64-byte header marked at offset 4, then chunks.
constexpr std::uint16_t kProPictureMark = 0x9500;
constexpr std::size_t kProPictureHeader = 64;
// Animator Pro's cels are flics (the older 320 x 200 kind or the sized one),
// a 128-byte header marked at offset 4, then chunks.
constexpr std::uint16_t kFliMark = 0xAF11;
constexpr std::uint16_t kFlcMark = 0xAF12;
constexpr std::size_t kFlicHeader = 128;
constexpr std::size_t kChunkHeader = 6;

enum class Layout { Animator, ProPicture, Flic };

struct Header {
    Layout layout{};
    int width = 0;
    int height = 0;
    int depth = 0;
};

// An original Animator file keeps its height where the others keep their
// mark, but no height the decoder accepts is one of those marks.
std::optional<Header> readHeader(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const std::uint16_t first = in.u16le();
    const std::uint16_t atTwo = in.u16le();
    const std::uint16_t atFour = in.u16le();
    if (!in.ok())
        return std::nullopt;
    Header header;
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    if (atFour == kProPictureMark) {
        header.layout = Layout::ProPicture;
        width = in.u16le();
        height = in.u16le();
        in.seek(18);
        header.depth = in.u8();
    } else if (atFour == kFliMark || atFour == kFlcMark) {
        header.layout = Layout::Flic;
        in.skip(2); // frame count
        width = in.u16le();
        height = in.u16le();
        header.depth = in.u16le();
    } else if (first == kAnimatorMark) {
        header.layout = Layout::Animator;
        width = atTwo;
        height = atFour;
        in.seek(10);
        header.depth = in.u8();
        if (in.u8() != 0) // compression, never used
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    const bool depthKnown = header.depth == 8 || (header.layout == Layout::ProPicture && header.depth == 1);
    if (!in.ok() || !depthKnown || !pictureSizeAllowed(width, height))
        return std::nullopt;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    return header;
}

using Colour = std::array<std::uint8_t, 3>;
using Palette = std::array<Colour, 256>;

std::uint8_t fromSixBits(std::uint8_t value) {
    return static_cast<std::uint8_t>((std::min<unsigned>(value, 63) * 255 + 31) / 63);
}

Colour colourAt(std::span<const std::uint8_t> rgb, bool sixBits) {
    if (sixBits)
        return {fromSixBits(rgb[0]), fromSixBits(rgb[1]), fromSixBits(rgb[2])};
    return {rgb[0], rgb[1], rgb[2]};
}

// The pixels of an 8-bit picture, one palette index each.
struct Indexed {
    std::vector<std::uint8_t> pixels;
    Palette palette{};
};

Picture paint(const Header& header, const Indexed& image) {
    Picture picture{header.width, header.height, {}};
    picture.rgb.reserve(image.pixels.size() * 3);
    for (const std::uint8_t index : image.pixels)
        picture.rgb.insert(picture.rgb.end(), image.palette[index].begin(), image.palette[index].end());
    return picture;
}

std::size_t pixelCount(const Header& header) {
    return static_cast<std::size_t>(header.width) * static_cast<std::size_t>(header.height);
}

std::optional<Indexed> decodeAnimator(std::span<const std::uint8_t> bytes, const Header& header) {
    ByteReader in(bytes);
    in.seek(kAnimatorHeader);
    Indexed image;
    for (Colour& colour : image.palette)
        if (const auto rgb = in.take(3); !rgb.empty())
            colour = colourAt(rgb, true);
    const auto pixels = in.take(pixelCount(header));
    if (!in.ok())
        return std::nullopt;
    image.pixels.assign(pixels.begin(), pixels.end());
    return image;
}

// A run of chunks: each gives its whole length, its type, then its data.
// Calls visit with each type and data; false when a chunk does not fit or
// visit gives false.
template <typename Visit>
bool forEachChunk(ByteReader& in, std::size_t count, Visit visit) {
    for (std::size_t i = 0; i < count && !in.atEnd(); ++i) {
        const std::uint32_t length = in.u32le();
        const std::uint16_t type = in.u16le();
        const auto data = in.take(length - std::min<std::size_t>(length, kChunkHeader));
        if (!in.ok() || length < kChunkHeader || !visit(type, data))
            return false;
    }
    return true;
}

constexpr std::size_t kEveryChunk = static_cast<std::size_t>(-1);

// The file's own length in its first field; the chunks lie between the
// header and that length, and anything after it is not read.
std::optional<ByteReader> chunksOf(std::span<const std::uint8_t> bytes, std::size_t headerBytes) {
    ByteReader in(bytes);
    const std::uint32_t length = in.u32le();
    if (!in.ok() || length < headerBytes || length > bytes.size())
        return std::nullopt;
    ByteReader chunks(bytes.first(length));
    chunks.seek(headerBytes);
    return chunks;
}

// Chunk types: 0 the palette (a version word, then 256 colours of 8 bits),
// 1 one byte per pixel, 2 one bit per pixel in rows of whole bytes (masks).
// Without a palette the indices are shades of grey, and a mask's set bits
// are drawn black on white.
std::optional<Indexed> decodeProPicture(std::span<const std::uint8_t> bytes, const Header& header) {
    auto in = chunksOf(bytes, kProPictureHeader);
    if (!in)
        return std::nullopt;
    Indexed image;
    for (std::size_t i = 0; i < image.palette.size(); ++i)
        image.palette[i].fill(static_cast<std::uint8_t>(i));
    const std::size_t rowBytes = (static_cast<std::size_t>(header.width) + 7) / 8;
    const bool parsed = forEachChunk(*in, kEveryChunk, [&](std::uint16_t type, std::span<const std::uint8_t> data) {
        if (type == 0) {
            if (data.size() < 2 + 256 * 3)
                return false;
            for (std::size_t i = 0; i < image.palette.size(); ++i)
                image.palette[i] = colourAt(data.subspan(2 + i * 3, 3), false);
        } else if (type == 1 && header.depth == 8) {
            if (data.size() < pixelCount(header))
                return false;
            image.pixels.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(pixelCount(header)));
        } else if (type == 2 && header.depth == 1) {
            if (data.size() < rowBytes * static_cast<std::size_t>(header.height))
                return false;
            image.pixels.resize(pixelCount(header));
            for (std::size_t y = 0; y < static_cast<std::size_t>(header.height); ++y)
                for (std::size_t x = 0; x < static_cast<std::size_t>(header.width); ++x)
                    image.pixels[y * header.width + x] = (data[y * rowBytes + x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
        }
        return true;
    });
    if (!parsed || image.pixels.empty())
        return std::nullopt;
    return image;
}

// Palette packets: a count of packets, each a number of entries to step
// over and a number of colours (0 meaning all 256) that follow.
bool readColours(std::span<const std::uint8_t> data, bool sixBits, Palette& palette) {
    ByteReader in(data);
    const std::uint16_t packets = in.u16le();
    std::size_t index = 0;
    for (std::uint16_t p = 0; p < packets && in.ok(); ++p) {
        index += in.u8();
        std::size_t count = in.u8();
        if (count == 0)
            count = 256;
        if (count > palette.size() - std::min(index, palette.size()))
            return false;
        for (; count > 0; --count, ++index)
            if (const auto rgb = in.take(3); !rgb.empty())
                palette[index] = colourAt(rgb, sixBits);
    }
    return in.ok();
}

// Each row starts with a packet count that the sized flics no longer keep
// right, so a row ends when it is full. A positive count repeats the next
// byte, a negative one copies that many bytes.
bool readByteRuns(std::span<const std::uint8_t> data, const Header& header, std::vector<std::uint8_t>& pixels) {
    ByteReader in(data);
    const auto width = static_cast<std::size_t>(header.width);
    for (auto row = pixels.begin(); row != pixels.end(); row += static_cast<std::ptrdiff_t>(width)) {
        in.skip(1);
        std::size_t x = 0;
        while (x < width) {
            const int count = static_cast<std::int8_t>(in.u8());
            const auto run = static_cast<std::size_t>(count < 0 ? -count : count);
            if (!in.ok() || count == 0 || run > width - x)
                return false;
            const auto at = row + static_cast<std::ptrdiff_t>(x);
            if (count > 0) {
                std::fill_n(at, run, in.u8());
            } else {
                const auto literal = in.take(run);
                std::copy(literal.begin(), literal.end(), at);
            }
            x += run;
        }
    }
    return in.ok();
}

// Frame chunk types that can make up the first frame; the delta kinds only
// make sense after one, and thumbnails and other chunks are stepped over.
enum FrameChunk : std::uint16_t {
    kColours = 4,
    kWordDelta = 7,
    kSixBitColours = 11,
    kByteDelta = 12,
    kBlack = 13,
    kByteRuns = 15,
    kCopy = 16,
};
constexpr std::uint16_t kFrameType = 0xF1FA;
constexpr std::size_t kFrameFields = 10; // subchunk count, delay, a spare word, width and height

std::optional<Indexed> decodeFrame(std::span<const std::uint8_t> frame, const Header& header) {
    ByteReader in(frame);
    const std::uint16_t count = in.u16le();
    in.seek(kFrameFields);
    Indexed image;
    image.pixels.assign(pixelCount(header), 0);
    const bool parsed = forEachChunk(in, count, [&](std::uint16_t type, std::span<const std::uint8_t> data) {
        switch (type) {
        case kColours:
        case kSixBitColours: return readColours(data, type == kSixBitColours, image.palette);
        case kBlack: std::fill(image.pixels.begin(), image.pixels.end(), 0); return true;
        case kByteRuns: return readByteRuns(data, header, image.pixels);
        case kCopy:
            if (data.size() < image.pixels.size())
                return false;
            std::copy_n(data.begin(), image.pixels.size(), image.pixels.begin());
            return true;
        case kWordDelta:
        case kByteDelta: return false;
        default: return true;
        }
    });
    if (!parsed || !in.ok())
        return std::nullopt;
    return image;
}

// The first frame chunk, past the prefix chunk that places the cel. The
// walk over the chunks stops at that frame.
std::optional<Indexed> decodeFlic(std::span<const std::uint8_t> bytes, const Header& header) {
    auto in = chunksOf(bytes, kFlicHeader);
    if (!in)
        return std::nullopt;
    std::optional<Indexed> image;
    forEachChunk(*in, kEveryChunk, [&](std::uint16_t type, std::span<const std::uint8_t> data) {
        if (type == kFrameType)
            image = decodeFrame(data, header);
        return type != kFrameType;
    });
    return image;
}

} // namespace

std::optional<Picture> decodeCel(std::span<const std::uint8_t> bytes) {
    const auto header = readHeader(bytes);
    if (!header)
        return std::nullopt;
    std::optional<Indexed> image;
    switch (header->layout) {
    case Layout::Animator: image = decodeAnimator(bytes, *header); break;
    case Layout::ProPicture: image = decodeProPicture(bytes, *header); break;
    case Layout::Flic: image = decodeFlic(bytes, *header); break;
    }
    if (!image)
        return std::nullopt;
    return paint(*header, *image);
}


std::optional<PictureSize> probeCelSize(std::span<const std::uint8_t> header) {
    const auto parsed = readHeader(header);
    if (!parsed)
        return std::nullopt;
    return PictureSize{parsed->width, parsed->height};
}

} // namespace gamarium::pictures
