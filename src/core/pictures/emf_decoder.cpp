#include "core/pictures/picture_module.h"

#include "core/error.h"
#include "core/pictures/decoder.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include <emf2svg.h>
#include <librsvg/rsvg.h>

namespace gamarium::pictures {
namespace {

constexpr std::uint32_t kHeaderRecord = 1;
constexpr std::uint32_t kEndRecord = 14;
constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"
constexpr std::size_t kHeaderSize = 88;

std::uint32_t le32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Whether the `count` bytes that a header field points at (offset 0: at
// nothing) lie inside the header record of `size` bytes, after its fixed
// part. An offset with no count is refused: libemf2svg then reads on to a
// terminating zero.
bool insideHeader(std::uint64_t offset, std::uint64_t count, std::uint64_t size) {
    return offset == 0 || (count > 0 && offset >= kHeaderSize && offset + count <= size);
}

// The file must be a chain of whole records from the header to the end
// record, each of a size that is a multiple of four and lies inside the
// file, and the description and pixel format the header points at must lie
// inside the header; libemf2svg trusts the sizes and offsets it is given.
void requireWholeRecords(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || le32(bytes, 0) != kHeaderRecord || le32(bytes, 40) != kSignature)
        throw Error("not an enhanced metafile");
    const std::uint32_t headerSize = le32(bytes, 4);
    const bool withPixelFormat = headerSize >= 100 && bytes.size() >= 100;
    if (headerSize < kHeaderSize || !insideHeader(le32(bytes, 64), 2ull * le32(bytes, 60), headerSize) ||
        (withPixelFormat && !insideHeader(le32(bytes, 92), le32(bytes, 88), headerSize)))
        throw Error("damaged metafile header");
    std::size_t at = 0;
    while (bytes.size() - at >= 8) {
        const std::uint32_t type = le32(bytes, at);
        const std::uint32_t size = le32(bytes, at + 4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - at)
            throw Error("damaged metafile record");
        if (type == kEndRecord)
            return;
        at += size;
    }
    throw Error("metafile cut off before its end record");
}

struct CFree {
    void operator()(void* p) const { std::free(p); }
};
struct ObjectUnref {
    void operator()(gpointer p) const { g_object_unref(p); }
};
struct SurfaceDestroy {
    void operator()(cairo_surface_t* p) const { cairo_surface_destroy(p); }
};
struct CairoDestroy {
    void operator()(cairo_t* p) const { cairo_destroy(p); }
};
struct ErrorFree {
    void operator()(GError* p) const { g_error_free(p); }
};

std::string svgOf(std::span<const std::uint8_t> bytes) {
    generatorOptions options{};
    std::string nameSpace = "svg";
    options.nameSpace = nameSpace.data();
    options.svgDelimiter = true;
    options.emfplus = true;
    std::string copy(bytes.begin(), bytes.end());
    char* out = nullptr;
    std::size_t length = 0;
    const int converted = emf2svg(copy.data(), copy.size(), &out, &length, &options);
    const std::unique_ptr<char, CFree> owned(out);
    if (!converted || !out)
        throw Error("metafile records could not be read");
    return std::string(out, length);
}

// Cairo's premultiplied ARGB pixels (native byte order) laid on white.
void copyOnWhite(cairo_surface_t* surface, Picture& picture) {
    const unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    std::uint8_t* out = picture.rgb.data();
    for (int y = 0; y < picture.height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(stride) * y);
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t argb = row[x];
            const unsigned white = 255 - (argb >> 24);
            *out++ = static_cast<std::uint8_t>(((argb >> 16) & 0xFF) + white);
            *out++ = static_cast<std::uint8_t>(((argb >> 8) & 0xFF) + white);
            *out++ = static_cast<std::uint8_t>((argb & 0xFF) + white);
        }
    }
}

} // namespace

Picture emfDecoding(std::span<const std::uint8_t> bytes) {
    requireWholeRecords(bytes);
    const std::string svg = svgOf(bytes);

    GError* rawError = nullptr;
    const std::unique_ptr<RsvgHandle, ObjectUnref> handle(
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &rawError));
    const std::unique_ptr<GError, ErrorFree> loadError(rawError);
    double width = 0, height = 0;
    if (!handle || !rsvg_handle_get_intrinsic_size_in_pixels(handle.get(), &width, &height))
        throw Error("metafile drawing could not be read");
    if (!(width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide) ||
        !pictureSizeAllowed(std::ceil(width), std::ceil(height)))
        throw Error("picture too large or empty");

    Picture picture;
    picture.width = static_cast<int>(std::ceil(width));
    picture.height = static_cast<int>(std::ceil(height));
    picture.rgb.resize(static_cast<std::size_t>(picture.width) * picture.height * 3);
    const std::unique_ptr<cairo_surface_t, SurfaceDestroy> surface(
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height));
    const std::unique_ptr<cairo_t, CairoDestroy> cairo(cairo_create(surface.get()));
    const RsvgRectangle viewport{0, 0, width, height};
    GError* rawDrawError = nullptr;
    const bool drawn = rsvg_handle_render_document(handle.get(), cairo.get(), &viewport, &rawDrawError);
    const std::unique_ptr<GError, ErrorFree> drawError(rawDrawError);
    if (!drawn || cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS)
        throw Error("metafile could not be drawn");
    cairo_surface_flush(surface.get());
    copyOnWhite(surface.get(), picture);
    return picture;
}

} // namespace gamarium::pictures
