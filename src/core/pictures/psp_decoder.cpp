#include "core/pictures/psp_decoder.h"

#include "core/pictures/byte_reader.h"
#include "core/pictures/decoder.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace gamarium::pictures {
namespace {

// The file starts with this text, padded with zeros to 32 bytes, and the
// major and minor file version.
constexpr std::string_view kSignature = "Paint Shop Pro Image File\n\x1a";
constexpr std::size_t kFileHeaderBytes = 36;
constexpr std::array<std::uint8_t, 4> kBlockMark{'~', 'B', 'K', 0};

enum BlockId : std::uint16_t {
    kImageAttributes = 0,
    kPaletteBlock = 2,
    kLayerBank = 3,
    kLayerBlock = 4,
    kChannelBlock = 5,
    kCompositeImage = 9,
    kCompositeBank = 16,
    kCompositeAttributes = 17,
    kJpegImage = 18,
};

enum Compression : std::uint16_t { kRaw = 0, kRuns = 1, kLz77 = 2 };

// Bitmap types of a channel that carry colour; the others are masks,
// selections and thumbnails.
constexpr std::uint16_t kLayerBitmap = 0;
constexpr std::uint16_t kCompositeBitmap = 8;
constexpr std::uint16_t kCompositeType = 0; // of an image in the composite bank; 1 is a thumbnail

// Version 3 files give, in every block header, the length of the block's
// leading chunk as well as the block's own; later versions dropped that
// field and start each chunk with its own length instead.
enum class Layout { Old, New };

struct Block {
    std::uint16_t id = 0;
    std::span<const std::uint8_t> data;
    std::size_t initialChunk = 0; // old layout only

    std::span<const std::uint8_t> afterInitialChunk() const { return data.subspan(initialChunk); }
};

std::optional<Block> readBlock(ByteReader& in, Layout layout) {
    const bool marked = in.startsWith(kBlockMark);
    in.skip(kBlockMark.size());
    Block block;
    block.id = in.u16le();
    block.initialChunk = layout == Layout::Old ? in.u32le() : 0;
    block.data = in.take(in.u32le());
    if (!in.ok() || !marked || block.initialChunk > block.data.size())
        return std::nullopt;
    return block;
}

// A block's leading chunk, which holds its fixed fields, and what follows
// it. Fields added by later versions lie past the ones read here and are
// stepped over with the rest of the chunk.
struct Contents {
    ByteReader fields;
    std::span<const std::uint8_t> rest;
};

std::optional<Contents> open(const Block& block, Layout layout) {
    std::size_t start = 0;
    std::size_t end = block.initialChunk;
    if (layout == Layout::New) {
        ByteReader in(block.data);
        end = in.u32le();
        start = 4;
        if (!in.ok() || end < start || end > block.data.size())
            return std::nullopt;
    }
    return Contents{ByteReader(block.data.subspan(start, end - start)), block.data.subspan(end)};
}

// Calls visit for every block in a run of blocks, stepping over the chunks
// of the new layout that lie between them; false when the run does not
// parse or visit gives false.
template <typename Visit>
bool forEachBlock(std::span<const std::uint8_t> run, Layout layout, Visit visit) {
    ByteReader in(run);
    while (!in.atEnd()) {
        if (in.startsWith(kBlockMark)) {
            const auto block = readBlock(in, layout);
            if (!block || !visit(*block))
                return false;
        } else {
            const std::uint32_t length = in.u32le();
            if (layout == Layout::Old || length < 4)
                return false;
            in.skip(length - 4);
            if (!in.ok())
                return false;
        }
    }
    return true;
}

bool depthSupported(unsigned depth) { return depth == 1 || depth == 4 || depth == 8 || depth == 24; }

struct Attributes {
    int width = 0;
    int height = 0;
    int depth = 0;
    std::uint16_t compression = 0;
};

std::optional<Attributes> supported(const ByteReader& fields, std::int32_t width, std::int32_t height,
                                    std::uint16_t depth, std::uint16_t compression) {
    if (!fields.ok() || !pictureSizeAllowed(width, height) || !depthSupported(depth) || compression > kLz77)
        return std::nullopt;
    return Attributes{width, height, depth, compression};
}

std::optional<Attributes> readImageAttributes(ByteReader& fields) {
    const std::int32_t width = fields.i32le();
    const std::int32_t height = fields.i32le();
    fields.skip(9); // resolution and its unit
    const std::uint16_t compression = fields.u16le();
    const std::uint16_t depth = fields.u16le();
    return supported(fields, width, height, depth, compression);
}

std::optional<Attributes> readCompositeAttributes(ByteReader& fields) {
    const std::int32_t width = fields.i32le();
    const std::int32_t height = fields.i32le();
    const std::uint16_t depth = fields.u16le();
    const std::uint16_t compression = fields.u16le();
    return supported(fields, width, height, depth, compression);
}

struct File {
    Layout layout = Layout::New;
    Attributes attributes;
    std::span<const std::uint8_t> blocks; // all blocks after the general attributes
};

// Version 3 files use the old layout and later ones the new. The first
// block is always the general attributes, followed by another block or the
// end of the file; when it does not fit the layout of the file's version the
// other layout is tried, which also reads version 4 files written the old way.
std::optional<File> openFile(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const auto signature = in.take(kSignature.size());
    in.seek(kFileHeaderBytes - 4);
    const std::uint16_t major = in.u16le();
    in.skip(2);
    if (!in.ok() || !std::equal(kSignature.begin(), kSignature.end(), signature.begin()) || major < 3)
        return std::nullopt;
    const Layout preferred = major == 3 ? Layout::Old : Layout::New;
    for (const Layout layout : {preferred, preferred == Layout::Old ? Layout::New : Layout::Old}) {
        ByteReader blocks = in;
        const auto first = readBlock(blocks, layout);
        if (!first || first->id != kImageAttributes || !(blocks.atEnd() || blocks.startsWith(kBlockMark)))
            continue;
        auto contents = open(*first, layout);
        if (!contents)
            continue;
        const auto attributes = readImageAttributes(contents->fields);
        if (!attributes)
            return std::nullopt;
        return File{layout, *attributes, bytes.subspan(blocks.position())};
    }
    return std::nullopt;
}

using Colour = std::array<std::uint8_t, 3>;
using Palette = std::vector<Colour>;

// The entry count, then the entries as blue, green, red and a spare byte;
// the entries follow the count inside the leading chunk or after it.
std::optional<Palette> readPalette(const Block& block, Layout layout) {
    auto contents = open(block, layout);
    if (!contents)
        return std::nullopt;
    const std::uint32_t count = contents->fields.u32le();
    if (!contents->fields.ok() || count > 256)
        return std::nullopt;
    ByteReader entries = contents->fields.remaining() >= count * 4 ? contents->fields : ByteReader(contents->rest);
    Palette palette(count);
    for (Colour& colour : palette) {
        const auto entry = entries.take(4);
        if (entry.empty())
            return std::nullopt;
        colour = {entry[2], entry[1], entry[0]};
    }
    return palette;
}

struct Channel {
    std::span<const std::uint8_t> stored;
    std::uint32_t length = 0; // once unpacked
};

// A layer's bitmap or the composite image, as found in the file.
struct Bitmap {
    std::int64_t left = 0; // where it lies on the canvas
    std::int64_t top = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    Attributes format; // its depth and compression
    std::array<std::optional<Channel>, 4> channels; // by type: the only one, red, green, blue
    std::optional<Palette> palette;

    bool hasColour() const {
        return format.depth == 24 ? channels[1] && channels[2] && channels[3] : channels[0].has_value();
    }
};

bool addChannel(const Block& block, Layout layout, Bitmap& bitmap) {
    auto contents = open(block, layout);
    if (!contents)
        return false;
    ByteReader& fields = contents->fields;
    const std::uint32_t stored = fields.u32le();
    const std::uint32_t length = fields.u32le();
    const std::uint16_t bitmapType = fields.u16le();
    const std::uint16_t channelType = fields.u16le();
    if (!fields.ok() || stored > contents->rest.size())
        return false;
    if ((bitmapType == kLayerBitmap || bitmapType == kCompositeBitmap) && channelType < bitmap.channels.size())
        bitmap.channels[channelType] = Channel{contents->rest.first(stored), length};
    return true;
}

// The channels of a layer or of the composite image, and the palette the
// composite image may carry.
bool readBitmapBlocks(std::span<const std::uint8_t> run, Layout layout, Bitmap& bitmap) {
    return forEachBlock(run, layout, [&](const Block& block) {
        if (block.id == kChannelBlock)
            return addChannel(block, layout, bitmap);
        if (block.id != kPaletteBlock)
            return true;
        bitmap.palette = readPalette(block, layout);
        return bitmap.palette.has_value();
    });
}

// A layer's name is a counted string from version 4 on and a fixed field of
// 256 bytes before; then its type and two rectangles: where the layer lies
// on the canvas and, within that, the part whose pixels are saved.
bool readLayer(const Block& block, const File& file, Bitmap& bitmap) {
    auto contents = open(block, file.layout);
    if (!contents)
        return false;
    ByteReader& fields = contents->fields;
    fields.skip(file.layout == Layout::Old ? 256 : fields.u16le());
    fields.skip(1);
    std::array<std::int64_t, 8> rects{};
    for (std::int64_t& edge : rects)
        edge = fields.i32le();
    if (!fields.ok())
        return false;
    bitmap.left = rects[0] + rects[4];
    bitmap.top = rects[1] + rects[5];
    bitmap.width = rects[6] - rects[4];
    bitmap.height = rects[7] - rects[5];
    bitmap.format = file.attributes;
    return readBitmapBlocks(contents->rest, file.layout, bitmap);
}

// What the walk over the file's blocks finds.
struct Findings {
    std::optional<Palette> palette;
    std::optional<Bitmap> composite;
    std::optional<Bitmap> layer; // the first one with pixels
};

bool readLayerBank(const Block& bank, const File& file, Findings& findings) {
    return forEachBlock(bank.afterInitialChunk(), file.layout, [&](const Block& block) {
        if (block.id != kLayerBlock || findings.layer)
            return true;
        Bitmap bitmap;
        if (!readLayer(block, file, bitmap))
            return false;
        if (bitmap.hasColour())
            findings.layer = std::move(bitmap);
        return true;
    });
}

// The bank holds the attributes of each of its images and the images, the
// n-th image described by the n-th attributes. Only a full-size composite
// stored as channels is taken; thumbnails and JPEG images are not.
bool readCompositeBank(const Block& bank, const File& file, Findings& findings) {
    std::vector<std::optional<Attributes>> described;
    std::size_t images = 0;
    return forEachBlock(bank.afterInitialChunk(), file.layout, [&](const Block& block) {
        if (block.id == kCompositeAttributes) {
            auto contents = open(block, file.layout);
            if (!contents)
                return false;
            auto attributes = readCompositeAttributes(contents->fields);
            contents->fields.skip(6); // plane and colour counts
            const bool composite = contents->fields.u16le() == kCompositeType && contents->fields.ok();
            described.push_back(composite ? attributes : std::nullopt);
            return true;
        }
        if (block.id == kJpegImage || block.id == kCompositeImage)
            ++images;
        if (block.id != kCompositeImage || images > described.size() || !described[images - 1])
            return true;
        const Attributes& attributes = *described[images - 1];
        if (attributes.width != file.attributes.width || attributes.height != file.attributes.height)
            return true;
        Bitmap bitmap;
        bitmap.width = attributes.width;
        bitmap.height = attributes.height;
        bitmap.format = attributes;
        if (!readBitmapBlocks(block.afterInitialChunk(), file.layout, bitmap))
            return false;
        if (bitmap.hasColour())
            findings.composite = std::move(bitmap);
        return true;
    });
}

// Run-length packing: a count byte above 128 repeats the next byte (count -
// 128) times, any other count copies that many bytes. The channel must come
// out exactly full.
bool unpackRuns(std::span<const std::uint8_t> packed, std::span<std::uint8_t> out) {
    std::size_t in = 0;
    std::size_t done = 0;
    while (done < out.size()) {
        if (in >= packed.size())
            return false;
        const std::size_t count = packed[in++];
        const std::size_t run = count > 128 ? count - 128 : count;
        if (run > out.size() - done)
            return false;
        if (count > 128) {
            if (in >= packed.size())
                return false;
            std::fill_n(out.begin() + static_cast<std::ptrdiff_t>(done), run, packed[in++]);
        } else {
            if (run > packed.size() - in)
                return false;
            std::copy_n(packed.begin() + static_cast<std::ptrdiff_t>(in), run,
                        out.begin() + static_cast<std::ptrdiff_t>(done));
            in += run;
        }
        done += run;
    }
    return true;
}

// A channel's samples, row after row, each row stride bytes long.
struct Plane {
    std::vector<std::uint8_t> unpacked;
    std::span<const std::uint8_t> samples;
    std::size_t stride = 0;
};

// Rows are padded to whole four-byte words, as in a Windows bitmap; rows
// without the padding are read too, as the unpacked length tells them apart.
std::optional<Plane> unpack(const Channel& channel, const Bitmap& bitmap, unsigned bits) {
    const auto height = static_cast<std::size_t>(bitmap.height);
    const std::size_t tight = (static_cast<std::size_t>(bitmap.width) * bits + 7) / 8;
    const std::size_t padded = (tight + 3) / 4 * 4;
    Plane plane;
    if (channel.length == padded * height)
        plane.stride = padded;
    else if (channel.length == tight * height)
        plane.stride = tight;
    else
        return std::nullopt;
    switch (bitmap.format.compression) {
    case kRaw:
        if (channel.stored.size() < channel.length)
            return std::nullopt;
        plane.samples = channel.stored.first(channel.length);
        return plane;
    case kRuns:
        plane.unpacked.resize(channel.length);
        if (!unpackRuns(channel.stored, plane.unpacked))
            return std::nullopt;
        break;
    default: {
        plane.unpacked.resize(channel.length);
        uLongf length = channel.length;
        if (uncompress(plane.unpacked.data(), &length, channel.stored.data(), channel.stored.size()) != Z_OK ||
            length != channel.length)
            return std::nullopt;
        break;
    }
    }
    plane.samples = plane.unpacked;
    return plane;
}

Colour indexedColour(const Plane& plane, std::size_t x, std::size_t y, unsigned bits, const Palette* palette) {
    const std::uint8_t byte = plane.samples[y * plane.stride + x * bits / 8];
    const unsigned shift = 8 - bits - x * bits % 8;
    const unsigned index = (byte >> shift) & ((1u << bits) - 1);
    if (!palette) {
        const auto grey = static_cast<std::uint8_t>(index * 255 / ((1u << bits) - 1));
        return {grey, grey, grey};
    }
    return index < palette->size() ? (*palette)[index] : Colour{};
}

// The bitmap laid on a white canvas of the picture's size.
std::optional<Picture> render(const Bitmap& bitmap, const File& file, const std::optional<Palette>& filePalette) {
    if (!pictureSizeAllowed(bitmap.width, bitmap.height))
        return std::nullopt;
    const bool rgb = bitmap.format.depth == 24;
    const unsigned bits = rgb ? 8 : static_cast<unsigned>(bitmap.format.depth);
    std::array<Plane, 3> planes;
    for (std::size_t i = 0; i < (rgb ? 3u : 1u); ++i) {
        auto plane = unpack(*bitmap.channels[rgb ? i + 1 : 0], bitmap, bits);
        if (!plane)
            return std::nullopt;
        planes[i] = std::move(*plane);
    }
    const Palette* palette = bitmap.palette ? &*bitmap.palette : filePalette ? &*filePalette : nullptr;

    const Attributes& canvas = file.attributes;
    Picture picture{canvas.width, canvas.height,
                    std::vector<std::uint8_t>(static_cast<std::size_t>(canvas.width) * canvas.height * 3, 255)};
    const std::int64_t firstY = std::max<std::int64_t>(0, bitmap.top);
    const std::int64_t lastY = std::min<std::int64_t>(canvas.height, bitmap.top + bitmap.height);
    const std::int64_t firstX = std::max<std::int64_t>(0, bitmap.left);
    const std::int64_t lastX = std::min<std::int64_t>(canvas.width, bitmap.left + bitmap.width);
    for (std::int64_t cy = firstY; cy < lastY; ++cy) {
        const auto y = static_cast<std::size_t>(cy - bitmap.top);
        for (std::int64_t cx = firstX; cx < lastX; ++cx) {
            const auto x = static_cast<std::size_t>(cx - bitmap.left);
            const std::size_t at = y * planes[0].stride + x;
            const Colour colour = rgb ? Colour{planes[0].samples[at], planes[1].samples[at], planes[2].samples[at]}
                                      : indexedColour(planes[0], x, y, bits, palette);
            std::copy(colour.begin(), colour.end(),
                      picture.rgb.begin() + static_cast<std::ptrdiff_t>((cy * canvas.width + cx) * 3));
        }
    }
    return picture;
}

} // namespace

std::optional<Picture> decodePsp(std::span<const std::uint8_t> bytes) {
    const auto file = openFile(bytes);
    if (!file)
        return std::nullopt;
    Findings findings;
    const bool parsed = forEachBlock(file->blocks, file->layout, [&](const Block& block) {
        switch (block.id) {
        case kPaletteBlock: findings.palette = readPalette(block, file->layout); return findings.palette.has_value();
        case kLayerBank: return readLayerBank(block, *file, findings);
        case kCompositeBank: return readCompositeBank(block, *file, findings);
        default: return true;
        }
    });
    if (!parsed)
        return std::nullopt;
    const auto& bitmap = findings.composite ? findings.composite : findings.layer;
    if (!bitmap)
        return std::nullopt;
    return render(*bitmap, *file, findings.palette);
}


std::optional<PictureSize> probePspSize(std::span<const std::uint8_t> header) {
    const auto file = openFile(header);
    if (!file)
        return std::nullopt;
    return PictureSize{file->attributes.width, file->attributes.height};
}

} // namespace gamarium::pictures
