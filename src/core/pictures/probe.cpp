#include "core/pictures/probe.h"

#include "core/files/system.h"

#include "core/pictures/byte_reader.h"
#include "core/pictures/cel_decoder.h"
#include "core/pictures/psd_decoder.h"
#include "core/pictures/psp_decoder.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <fstream>
#include <string_view>
#include <vector>

namespace gamarium::pictures {
namespace {

using enum PictureFormat;

// How much of a file the probe reads at first; every format keeps its size
// within this, except where the size is found by following offsets.
constexpr std::size_t kHeadBytes = 4096;
// Bounds on following offsets: a damaged file cannot make the probe read
// on for ever.
constexpr int kMaxJpegMarkers = 1024;
constexpr std::uint64_t kMaxTiffEntries = 4096;

// The bytes of the file being probed: the head is held, anything beyond is
// read on request.
class Source {
public:
    virtual ~Source() = default;
    std::span<const std::uint8_t> head() const { return head_; }
    std::uint64_t size() const { return size_; }
    // `count` bytes at `offset`, or fewer where the file ends.
    virtual std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) = 0;

protected:
    std::vector<std::uint8_t> head_;
    std::uint64_t size_ = 0;
};

class MemorySource final : public Source {
public:
    explicit MemorySource(std::span<const std::uint8_t> bytes) : bytes_(bytes) {
        size_ = bytes.size();
        head_.assign(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(std::min(bytes.size(), kHeadBytes)));
    }
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) override {
        if (offset >= bytes_.size())
            return {};
        const auto run = bytes_.subspan(offset, std::min<std::uint64_t>(count, bytes_.size() - offset));
        return {run.begin(), run.end()};
    }

private:
    std::span<const std::uint8_t> bytes_;
};

class FileSource final : public Source {
public:
    explicit FileSource(const files::FileReader& file) : file_(file) {
        size_ = file.size();
        head_ = read(0, kHeadBytes);
    }
    std::vector<std::uint8_t> read(std::uint64_t offset, std::size_t count) override {
        if (offset >= size_)
            return {};
        // What the held head covers is not read again: a JPEG's markers up
        // to its frame header mostly lie there, one small read each.
        if (offset < head_.size() && (count <= head_.size() - offset || head_.size() == size_)) {
            const auto end = offset + std::min<std::uint64_t>(count, head_.size() - offset);
            return {head_.begin() + static_cast<std::ptrdiff_t>(offset), head_.begin() + static_cast<std::ptrdiff_t>(end)};
        }
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - offset)));
        bytes.resize(file_.readAt(offset, bytes.data(), bytes.size()));
        return bytes;
    }

private:
    const files::FileReader& file_;
};

using Size = std::optional<PictureSize>;

Size sizeOf(std::int64_t width, std::int64_t height) {
    if (!pictureSizeAllowed(width, height))
        return std::nullopt;
    return PictureSize{static_cast<int>(width), static_cast<int>(height)};
}

// Windows bitmaps, with the file header or (as on the clipboard) without.
Size probeBmp(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    if (hasSignature(head, "BM"))
        in.seek(14);
    const std::uint32_t infoSize = in.u32le();
    if (!in.ok() || infoSize < 12 || infoSize > 124)
        return std::nullopt;
    if (infoSize == 12) {
        const std::uint16_t width = in.u16le();
        const std::uint16_t height = in.u16le();
        return in.ok() ? sizeOf(width, height) : std::nullopt;
    }
    const std::int64_t width = in.i32le();
    const std::int64_t height = in.i32le();
    return in.ok() ? sizeOf(width, std::abs(height)) : std::nullopt;
}

// The first picture of the icon directory, which is the one decoded: a
// PNG's own header gives its size, a bitmap's size is the directory's,
// where 0 stands for 256.
Size probeIco(Source& source) {
    ByteReader in(source.head());
    const std::uint16_t reserved = in.u16le();
    const std::uint16_t type = in.u16le();
    const std::uint16_t count = in.u16le();
    const int width = in.u8();
    const int height = in.u8();
    in.skip(10);
    const std::uint32_t offset = in.u32le();
    if (!in.ok() || reserved != 0 || (type != 1 && type != 2) || count == 0)
        return std::nullopt;
    const std::vector<std::uint8_t> image = source.read(offset, 24);
    if (!hasSignature(image, "\x89PNG\r\n\x1A\n"))
        return sizeOf(width == 0 ? 256 : width, height == 0 ? 256 : height);
    ByteReader png(image);
    png.seek(16);
    const std::uint32_t pngWidth = png.u32be();
    const std::uint32_t pngHeight = png.u32be();
    return png.ok() ? sizeOf(pngWidth, pngHeight) : std::nullopt;
}

bool isPlaceableMetafile(std::span<const std::uint8_t> head) { return hasSignature(head, "\xD7\xCD\xC6\x9A"); }

// The placeable header's frame, in its units per inch, drawn at 72 dpi.
Size probeWmf(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    in.skip(6);
    const auto left = static_cast<std::int16_t>(in.u16le());
    const auto top = static_cast<std::int16_t>(in.u16le());
    const auto right = static_cast<std::int16_t>(in.u16le());
    const auto bottom = static_cast<std::int16_t>(in.u16le());
    const std::uint16_t unitsPerInch = in.u16le();
    if (!in.ok() || unitsPerInch == 0)
        return std::nullopt;
    const auto pixels = [&](int units) {
        return static_cast<std::int64_t>(std::ceil(std::abs(units) * 72.0 / unitsPerInch));
    };
    return sizeOf(pixels(right - left), pixels(bottom - top));
}

// The bounds rectangle of the header, in device pixels, which is the size
// the drawing is made at.
Size probeEmf(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    const std::uint32_t type = in.u32le();
    in.skip(4);
    const std::int64_t left = in.i32le();
    const std::int64_t top = in.i32le();
    const std::int64_t right = in.i32le();
    const std::int64_t bottom = in.i32le();
    in.seek(40);
    const std::uint32_t signature = in.u32le();
    if (!in.ok() || type != 1 || signature != 0x464D4520)
        return std::nullopt;
    return sizeOf(right - left, bottom - top);
}

// Follows the markers to the frame header. Only the frame kinds libjpeg
// decodes count: baseline, extended, progressive, and their arithmetic
// coded forms, all of 8-bit samples.
Size probeJpeg(Source& source) {
    if (!hasSignature(source.head(), "\xFF\xD8"))
        return std::nullopt;
    std::uint64_t at = 2;
    for (int markers = 0; markers < kMaxJpegMarkers; ++markers) {
        const std::vector<std::uint8_t> bytes = source.read(at, 10);
        ByteReader in(bytes);
        if (in.u8() != 0xFF || !in.ok())
            return std::nullopt;
        const std::uint8_t marker = in.u8();
        if (marker == 0xFF) {
            at += 1;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        const std::uint16_t length = in.u16be();
        if (!in.ok() || length < 2 || marker == 0xD9 || marker == 0xDA)
            return std::nullopt;
        if (marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA) {
            const std::uint8_t precision = in.u8();
            const std::uint16_t height = in.u16be();
            const std::uint16_t width = in.u16be();
            const std::uint8_t components = in.u8();
            if (!in.ok() || precision != 8 || (components != 1 && components != 3 && components != 4))
                return std::nullopt;
            return sizeOf(width, height);
        }
        if (marker >= 0xC3 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC)
            return std::nullopt;
        at += 2 + length;
    }
    return std::nullopt;
}

Size probePng(std::span<const std::uint8_t> head) {
    if (!hasSignature(head, "\x89PNG\r\n\x1A\n"))
        return std::nullopt;
    ByteReader in(head);
    in.seek(8);
    const std::uint32_t length = in.u32be();
    const auto type = in.take(4);
    const std::uint32_t width = in.u32be();
    const std::uint32_t height = in.u32be();
    if (!in.ok() || length != 13 || !hasSignature(type, "IHDR"))
        return std::nullopt;
    return sizeOf(width, height);
}

Size probeTarga(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    in.skip(1);
    const std::uint8_t colourMapType = in.u8();
    const std::uint8_t imageType = in.u8();
    in.seek(12);
    const std::uint16_t width = in.u16le();
    const std::uint16_t height = in.u16le();
    constexpr std::array kTypes{1, 2, 3, 9, 10, 11};
    if (!in.ok() || colourMapType > 1 || std::find(kTypes.begin(), kTypes.end(), imageType) == kTypes.end())
        return std::nullopt;
    return sizeOf(width, height);
}

// The first image directory; classic and big TIFF, either byte order.
Size probeTiff(Source& source) {
    const auto head = source.head();
    const bool little = hasSignature(head, "II");
    if (!little && !hasSignature(head, "MM"))
        return std::nullopt;
    const auto number = [little](std::span<const std::uint8_t> bytes, std::size_t at, std::size_t size) {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < size; ++i)
            value = value << 8 | bytes[at + (little ? size - 1 - i : i)];
        return value;
    };
    if (head.size() < 16)
        return std::nullopt;
    const std::uint64_t version = number(head, 2, 2);
    if (version != 42 && version != 43)
        return std::nullopt;
    const bool big = version == 43;
    const std::size_t offsetSize = big ? 8 : 4;
    const std::size_t entrySize = big ? 20 : 12;
    const std::uint64_t directory = number(head, big ? 8 : 4, offsetSize);
    const std::vector<std::uint8_t> countBytes = source.read(directory, big ? 8 : 2);
    if (countBytes.size() != (big ? 8u : 2u))
        return std::nullopt;
    const std::uint64_t count = std::min(number(countBytes, 0, countBytes.size()), kMaxTiffEntries);
    const std::vector<std::uint8_t> entries = source.read(directory + countBytes.size(), count * entrySize);
    std::uint64_t width = 0, height = 0;
    for (std::size_t at = 0; at + entrySize <= entries.size(); at += entrySize) {
        const std::uint64_t tag = number(entries, at, 2);
        const std::uint64_t type = number(entries, at + 2, 2);
        const std::size_t valueAt = at + 4 + offsetSize;
        const std::size_t valueSize = type == 3 ? 2 : type == 4 ? 4 : type == 16 ? 8 : 0;
        if ((tag != 256 && tag != 257) || valueSize == 0 || valueSize > offsetSize)
            continue;
        (tag == 256 ? width : height) = number(entries, valueAt, valueSize);
    }
    if (width > static_cast<std::uint64_t>(kMaxPictureSide) || height > static_cast<std::uint64_t>(kMaxPictureSide))
        return std::nullopt;
    return sizeOf(static_cast<std::int64_t>(width), static_cast<std::int64_t>(height));
}

// The window of the PCX header, whose corners are both inside the picture.
Size probePcx(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    const std::uint8_t manufacturer = in.u8();
    in.skip(1);
    const std::uint8_t encoding = in.u8();
    const std::uint8_t bitsPerPixel = in.u8();
    const std::int64_t left = in.u16le();
    const std::int64_t top = in.u16le();
    const std::int64_t right = in.u16le();
    const std::int64_t bottom = in.u16le();
    in.seek(66);
    const std::int64_t bytesPerLine = in.u16le();
    const std::int64_t width = right - left + 1;
    if (!in.ok() || manufacturer != 0x0A || encoding > 1 || bytesPerLine * 8 < width * bitsPerPixel)
        return std::nullopt;
    return sizeOf(width, bottom - top + 1);
}

// The active window of the RLA header (left, right, bottom, top); only
// files of 8-bit channels (and matte) are decoded.
Size probeRla(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    in.seek(8);
    const auto left = static_cast<std::int16_t>(in.u16be());
    const auto right = static_cast<std::int16_t>(in.u16be());
    const auto bottom = static_cast<std::int16_t>(in.u16be());
    const auto top = static_cast<std::int16_t>(in.u16be());
    in.skip(6);
    const std::uint16_t mattes = in.u16be();
    in.seek(658);
    const std::uint16_t channelBits = in.u16be();
    in.skip(2);
    const std::uint16_t matteBits = in.u16be();
    if (!in.ok() || channelBits != 8 || (mattes != 0 && matteBits != 8))
        return std::nullopt;
    return sizeOf(std::int64_t{right} - left + 1, std::int64_t{top} - bottom + 1);
}

Size probeSgi(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    const std::uint16_t magic = in.u16be();
    const std::uint8_t storage = in.u8();
    const std::uint8_t bytesPerSample = in.u8();
    const std::uint16_t dimension = in.u16be();
    const std::uint16_t width = in.u16be();
    const std::uint16_t height = in.u16be();
    if (!in.ok() || magic != 474 || storage > 1 || bytesPerSample < 1 || bytesPerSample > 2 || dimension < 1 ||
        dimension > 3)
        return std::nullopt;
    return sizeOf(width, dimension == 1 ? 1 : height);
}

// "P1" to "P6", then width and height as decimal text, with whitespace and
// comments between.
Size probePnm(std::span<const std::uint8_t> head) {
    if (head.size() < 2 || head[0] != 'P' || head[1] < '1' || head[1] > '6')
        return std::nullopt;
    std::size_t at = 2;
    std::array<std::int64_t, 2> numbers{};
    for (std::int64_t& number : numbers) {
        while (at < head.size() && (std::isspace(head[at]) || head[at] == '#')) {
            if (head[at] == '#')
                while (at < head.size() && head[at] != '\n' && head[at] != '\r')
                    ++at;
            else
                ++at;
        }
        const std::size_t start = at;
        while (at < head.size() && std::isdigit(head[at]) && number <= kMaxPictureSide)
            number = number * 10 + (head[at++] - '0');
        if (at == start)
            return std::nullopt;
    }
    return sizeOf(numbers[0], numbers[1]);
}

// A Photo CD file is decoded at its base size when it has the image pack
// signature and reaches to the end of the base picture.
Size probePcd(const Source& source) {
    constexpr std::uint64_t kBaseEnd = 786432;
    if (source.head().size() < 2048 + 7 || !hasSignature(source.head().subspan(2048), "PCD_IPI") ||
        source.size() < kBaseEnd)
        return std::nullopt;
    return PictureSize{768, 512};
}

Size probeCut(std::span<const std::uint8_t> head) {
    ByteReader in(head);
    const std::uint16_t width = in.u16le();
    const std::uint16_t height = in.u16le();
    return in.ok() ? sizeOf(width, height) : std::nullopt;
}

Size probeFormat(Source& source, PictureFormat format) {
    const auto head = source.head();
    switch (format) {
    case Bmp: return probeBmp(head);
    case Ico: return probeIco(source);
    case Wmf: return probeWmf(head);
    case Emf: return probeEmf(head);
    case Jpeg: return probeJpeg(source);
    case Targa: return probeTarga(head);
    case Tiff: return probeTiff(source);
    case Pcx: return probePcx(head);
    case Rla: return probeRla(head);
    case Sgi: return probeSgi(head);
    case Psd: return probePsdSize(head);
    case Pnm: return probePnm(head);
    case Cel: return probeCelSize(head);
    case Pcd: return probePcd(source);
    case Cut: return probeCut(head);
    case Psp: return probePspSize(head);
    case Png: return probePng(head);
    case Eps: break;
    }
    return std::nullopt;
}

// Formats whose size only the drawing itself tells.
bool sizeNeedsDecoding(std::span<const std::uint8_t> head, PictureFormat format) {
    return format == Eps || (format == Wmf && !isPlaceableMetafile(head));
}

Size sizeOfDecoded(const Picture& picture) {
    if (picture.empty())
        return std::nullopt;
    return PictureSize{picture.width, picture.height};
}

} // namespace

std::optional<PictureSize> probePictureBytes(std::span<const std::uint8_t> bytes, PictureFormat format) {
    MemorySource source(bytes);
    const PictureFormat read = formatOfContent(source.head(), format);
    if (sizeNeedsDecoding(source.head(), read))
        return sizeOfDecoded(decodePictureBytes(bytes, format).picture);
    return probeFormat(source, read);
}

std::optional<PictureSize> probePictureSize(const std::filesystem::path& file) {
    if (!formatOfExtension(file.extension().string()))
        return std::nullopt;
    return probePictureSize(files::FileReader(file), file);
}

std::optional<PictureSize> probePictureSize(const files::FileReader& reader, const std::filesystem::path& file) {
    const auto format = formatOfExtension(file.extension().string());
    if (!format || !reader.open())
        return std::nullopt;
    FileSource source(reader);
    const PictureFormat read = formatOfContent(source.head(), *format);
    if (sizeNeedsDecoding(source.head(), read))
        return sizeOfDecoded(decodePicture(file));
    return probeFormat(source, read);
}

} // namespace gamarium::pictures
