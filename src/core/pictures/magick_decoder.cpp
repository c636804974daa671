#include "core/pictures/picture_module.h"

#include "core/error.h"
#include "core/pictures/decoder.h"
#include "core/pictures/ghostscript_guard.h"

#include <Magick++.h>

#include <string>
#include <vector>

namespace gamarium::pictures {
namespace {

// GraphicsMagick is set up once per process: Ghostscript runs under a time
// limit, GraphicsMagick's messages go nowhere (the program reports
// failures itself) and its resource limits are the program's picture
// limits, so a header that declares a giant picture is refused before the
// pixel cache is allocated.
void setUpOnce() {
    static const bool ready = [] {
        limitGhostscriptTime();
        Magick::InitializeMagick(nullptr);
        MagickLib::SetErrorHandler(nullptr);
        MagickLib::SetWarningHandler(nullptr);
        MagickLib::SetMagickResourceLimit(MagickLib::WidthResource, kMaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::HeightResource, kMaxPictureSide);
        MagickLib::SetMagickResourceLimit(MagickLib::PixelsResource, kMaxPicturePixels);
        return true;
    }();
    (void)ready;
}

void readQuietly(Magick::Image& image, const Magick::Blob& blob, bool printsMessages) {
    if (!printsMessages) {
        image.read(blob);
        return;
    }
    const SilencedOutput silenced;
    image.read(blob);
}

Picture pixelsOf(Magick::Image& image) {
    Picture picture;
    picture.width = static_cast<int>(image.columns());
    picture.height = static_cast<int>(image.rows());
    if (!pictureSizeAllowed(picture.width, picture.height) || picture.empty())
        throw Error("picture too large or empty");
    const std::size_t count = static_cast<std::size_t>(picture.width) * picture.height;
    picture.rgb.resize(count * 3);
    if (!image.matte()) {
        image.write(0, 0, picture.width, picture.height, "RGB", Magick::CharPixel, picture.rgb.data());
        return picture;
    }
    std::vector<std::uint8_t> rgba(count * 4);
    image.write(0, 0, picture.width, picture.height, "RGBA", Magick::CharPixel, rgba.data());
    for (std::size_t i = 0; i < count; ++i)
        for (std::size_t c = 0; c < 3; ++c)
            picture.rgb[i * 3 + c] = onWhite(rgba[i * 4 + c], rgba[i * 4 + 3]);
    return picture;
}

} // namespace

Picture magickDecoding(std::span<const std::uint8_t> bytes, const MagickRequest& request) {
    setUpOnce();
    const Magick::Blob blob(bytes.data(), bytes.size());
    Magick::Image image;
    image.subImage(request.scene);
    image.subRange(1);
    // "CODER:" as the file name binds GraphicsMagick to that coder; without
    // it the coder is only a hint that the content's signature overrides.
    if (!request.coder.empty())
        image.fileName(std::string(request.coder) + ":");
    // Set as text: Magick::Geometry would round the resolution to whole dpi.
    if (!request.density.empty())
        MagickLib::CloneString(&image.imageInfo()->density, std::string(request.density).c_str());
    try {
        readQuietly(image, blob, request.printsMessages);
    } catch (const Magick::WarningCorruptImage& warning) {
        throw Error(std::string("damaged file: ") + warning.what());
    } catch (const Magick::Warning&) {
        // A remark about an unknown tag or a colour profile: the picture
        // was read.
    } catch (const Magick::Exception& error) {
        throw Error(error.what());
    }
    return pixelsOf(image);
}

} // namespace gamarium::pictures
