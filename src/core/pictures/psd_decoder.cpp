#include "core/pictures/psd_decoder.h"

#include "core/pictures/byte_reader.h"
#include "core/pictures/decoder.h"

#include <algorithm>
#include <array>
#include <vector>

namespace gamarium::pictures {
namespace {

constexpr std::array<std::uint8_t, 4> kSignature{'8', 'B', 'P', 'S'};
constexpr std::size_t kPaletteBytes = 768;

enum class Mode : std::uint16_t { Bitmap = 0, Grey = 1, Indexed = 2, Rgb = 3, Cmyk = 4, Duotone = 8 };

struct Header {
    Mode mode{};
    int channels = 0; // every stored channel, alpha and spot colours included
    int width = 0;
    int height = 0;
    int depth = 0; // bits per channel sample
};

// How many of the stored channels make the colour; the rest are alpha and
// spot channels, which are not shown. Duotone pictures are shown in their
// first ink only, as grey.
int colourChannels(Mode mode) {
    switch (mode) {
    case Mode::Rgb: return 3;
    case Mode::Cmyk: return 4;
    default: return 1;
    }
}

bool depthSupported(Mode mode, int depth) {
    switch (mode) {
    case Mode::Bitmap: return depth == 1;
    case Mode::Indexed: return depth == 8;
    case Mode::Grey:
    case Mode::Rgb:
    case Mode::Cmyk:
    case Mode::Duotone: return depth == 8 || depth == 16;
    }
    return false;
}

std::optional<Header> readHeader(ByteReader& in) {
    const bool signature = in.startsWith(kSignature);
    in.skip(kSignature.size());
    const std::uint16_t version = in.u16be(); // 2 is the large-document layout, not read here
    in.skip(6);
    Header header;
    header.channels = in.u16be();
    const std::uint32_t height = in.u32be();
    const std::uint32_t width = in.u32be();
    header.depth = in.u16be();
    header.mode = static_cast<Mode>(in.u16be());
    if (!in.ok() || !signature || version != 1 || header.channels < colourChannels(header.mode) ||
        header.channels > 56 || !depthSupported(header.mode, header.depth) || !pictureSizeAllowed(width, height))
        return std::nullopt;
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    return header;
}

// PackBits: a header byte n of 0..127 copies the next n + 1 bytes, -1..-127
// repeats the next byte 1 - n times, -128 does nothing. The row must come
// out exactly full.
bool unpackBits(std::span<const std::uint8_t> packed, std::span<std::uint8_t> row) {
    std::size_t in = 0;
    std::size_t out = 0;
    while (out < row.size()) {
        if (in >= packed.size())
            return false;
        const int n = static_cast<std::int8_t>(packed[in++]);
        if (n >= 0) {
            const std::size_t count = static_cast<std::size_t>(n) + 1;
            if (count > packed.size() - in || count > row.size() - out)
                return false;
            std::copy_n(packed.begin() + static_cast<std::ptrdiff_t>(in), count,
                        row.begin() + static_cast<std::ptrdiff_t>(out));
            in += count;
            out += count;
        } else if (n != -128) {
            const std::size_t count = static_cast<std::size_t>(1 - n);
            if (in >= packed.size() || count > row.size() - out)
                return false;
            std::fill_n(row.begin() + static_cast<std::ptrdiff_t>(out), count, packed[in++]);
            out += count;
        }
    }
    return true;
}

// The rows of the merged image: every row of the first channel, then of the
// next, either stored as they are or each packed on its own, with a table of
// the packed lengths of all rows ahead of the data.
class ImageRows {
public:
    static std::optional<ImageRows> open(ByteReader& in, const Header& header) {
        ImageRows rows;
        rows.height_ = static_cast<std::size_t>(header.height);
        rows.rowBytes_ = header.depth == 1 ? (static_cast<std::size_t>(header.width) + 7) / 8
                                           : static_cast<std::size_t>(header.width) * (header.depth / 8);
        const std::size_t rowCount = static_cast<std::size_t>(header.channels) * rows.height_;
        switch (in.u16be()) {
        case 0: rows.data_ = in.take(rowCount * rows.rowBytes_); break;
        case 1: {
            ByteReader lengths(in.take(rowCount * 2));
            if (!in.ok())
                return std::nullopt;
            rows.offsets_.reserve(rowCount + 1);
            rows.offsets_.push_back(0);
            for (std::size_t i = 0; i < rowCount; ++i)
                rows.offsets_.push_back(rows.offsets_.back() + lengths.u16be());
            rows.data_ = in.take(rows.offsets_.back());
            rows.unpacked_.resize(static_cast<std::size_t>(colourChannels(header.mode)) * rows.rowBytes_);
            break;
        }
        default: return std::nullopt; // the zip methods are only written for layers
        }
        if (!in.ok())
            return std::nullopt;
        return rows;
    }

    // One row of one colour channel; empty when its packing is broken.
    std::span<const std::uint8_t> row(std::size_t channel, std::size_t y) {
        const std::size_t index = channel * height_ + y;
        if (offsets_.empty())
            return data_.subspan(index * rowBytes_, rowBytes_);
        const auto packed = data_.subspan(offsets_[index], offsets_[index + 1] - offsets_[index]);
        const auto row = std::span(unpacked_).subspan(channel * rowBytes_, rowBytes_);
        if (!unpackBits(packed, row))
            return {};
        return row;
    }

private:
    std::size_t height_ = 0;
    std::size_t rowBytes_ = 0;
    std::span<const std::uint8_t> data_;
    std::vector<std::size_t> offsets_; // packed rows only: where each starts, and the end
    std::vector<std::uint8_t> unpacked_;
};

// A sample scaled to 8 bits. In a bitmap picture a set bit is black.
std::uint8_t sample(std::span<const std::uint8_t> row, std::size_t x, int depth) {
    switch (depth) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1 ? 0 : 255;
    case 16: return static_cast<std::uint8_t>(((row[2 * x] << 8 | row[2 * x + 1]) * 255 + 32767) / 65535);
    default: return row[x];
    }
}

// CMYK samples are stored inverted, 255 meaning no ink, so each colour is
// the product of its own sample and the black one.
std::uint8_t withoutInk(std::uint8_t colour, std::uint8_t black) {
    return static_cast<std::uint8_t>((colour * black + 127) / 255);
}

} // namespace

std::optional<Picture> decodePsd(std::span<const std::uint8_t> bytes) {
    ByteReader in(bytes);
    const auto header = readHeader(in);
    if (!header)
        return std::nullopt;
    const auto palette = in.take(in.u32be()); // 256 reds, then 256 greens, then 256 blues
    in.skip(in.u32be());                      // image resources
    in.skip(in.u32be());                      // layers and masks
    if (header->mode == Mode::Indexed && palette.size() < kPaletteBytes)
        return std::nullopt;
    auto rows = ImageRows::open(in, *header);
    if (!rows)
        return std::nullopt;

    const auto width = static_cast<std::size_t>(header->width);
    Picture picture{header->width, header->height, std::vector<std::uint8_t>(width * header->height * 3)};
    auto out = picture.rgb.begin();
    const auto used = static_cast<std::size_t>(colourChannels(header->mode));
    for (std::size_t y = 0; y < static_cast<std::size_t>(header->height); ++y) {
        std::array<std::span<const std::uint8_t>, 4> channelRows;
        for (std::size_t c = 0; c < used; ++c) {
            channelRows[c] = rows->row(c, y);
            if (channelRows[c].empty())
                return std::nullopt;
        }
        for (std::size_t x = 0; x < width; ++x) {
            std::array<std::uint8_t, 4> s{};
            for (std::size_t c = 0; c < used; ++c)
                s[c] = sample(channelRows[c], x, header->depth);
            switch (header->mode) {
            case Mode::Indexed: s = {palette[s[0]], palette[256 + s[0]], palette[512 + s[0]]}; break;
            case Mode::Rgb: break;
            case Mode::Cmyk: s = {withoutInk(s[0], s[3]), withoutInk(s[1], s[3]), withoutInk(s[2], s[3])}; break;
            default: s = {s[0], s[0], s[0]}; break;
            }
            out = std::copy_n(s.begin(), 3, out);
        }
    }
    return picture;
}


std::optional<PictureSize> probePsdSize(std::span<const std::uint8_t> header) {
    ByteReader in(header);
    const auto parsed = readHeader(in);
    if (!parsed)
        return std::nullopt;
    return PictureSize{parsed->width, parsed->height};
}

} // namespace gamarium::pictures
