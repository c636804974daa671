#include "core/pictures/decoder.h"
#include "core/pictures/probe.h"

#include "core/pictures/picture_files.h"

#include <gtest/gtest.h>

#include <random>
#include <string_view>

// Damaged files for every decoder family: each must give the empty picture
// with a reason, and the process must live on. These tests are also built
// under AddressSanitizer (tests/asan), which catches a read outside a
// buffer and an attempt to allocate gigabytes.
namespace gamarium::pictures {
namespace {

using namespace std::string_view_literals;
using gamarium::testing::Bytes;
using gamarium::testing::picturePath;
using gamarium::testing::readBytes;

struct Refused {
    std::string error;
    bool probed = false;
};

Refused decodeRefused(const Bytes& bytes, const std::string& extension) {
    const auto format = formatOfExtension(extension);
    EXPECT_TRUE(format);
    const DecodeOutcome outcome = decodePictureBytes(bytes, *format);
    EXPECT_TRUE(outcome.picture.empty());
    EXPECT_TRUE(outcome.picture.rgb.empty());
    return {outcome.error, probePictureBytes(bytes, *format).has_value()};
}

std::string extensionOf(std::string_view file) { return std::string(file.substr(file.rfind('.') + 1)); }

// One fixture of every decoder family and every variant with code paths of
// its own.
constexpr std::string_view kFamilies[] = {
    "quad.bmp", "quad.rle", "quad.dib", "quad.ico",  "quad.wmf", "quad.emf",  "quad.jpg",
    "quad_cmyk.jpg", "quad.tga", "quad_rle.tga", "quad_la.tga", "quad_la_rle.tga", "quad.tif", "quad.fax",
    "quad.eps", "quad.pcx", "quad.rla", "quad.sgi", "quad.rgba", "quad.ppm", "quad.pbm", "quad.cut", "quad.png",
};

// A Group 4 fax strip cut short decodes as white rows: libtiff does not
// tell, so those cuts are left out.
TEST(DamagedPictures, TruncatedFilesAreRefused) {
    for (const std::string_view file : kFamilies) {
        const Bytes whole = readBytes(picturePath(std::string(file)));
        ASSERT_FALSE(whole.empty()) << file;
        for (const std::size_t keep : {std::size_t{0}, std::size_t{1}, std::size_t{7}, whole.size() / 4,
                                       whole.size() / 2, whole.size() * 3 / 4}) {
            if (file == "quad.fax" && keep > whole.size() / 2)
                continue;
            const Bytes cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(keep));
            EXPECT_NE(decodeRefused(cut, extensionOf(file)).error, "") << file << " cut to " << keep;
        }
    }
}

// Bytes that the formats with a signature cannot take for a picture; the
// formats without one (Targa, Dr. Halo, RLA) may find a picture in noise,
// which must then be a whole one.
TEST(DamagedPictures, RandomBytesAreRefusedOrWhole) {
    constexpr std::string_view kExtensions[] = {
        "bmp", "rle", "dib", "ico", "wmf", "emf", "jfif", "jpg", "jpe", "jpeg", "win", "vst", "vda",
        "tga", "icb", "tiff", "tif", "fax", "eps", "pcx", "pcc", "scr", "rpf", "rla", "sgi", "rgba",
        "rgb", "bw",  "psd", "pdd", "ppm", "pgm", "pbm", "cel", "pic", "pcd", "cut", "psp", "png",
    };
    constexpr std::string_view kHeaderless[] = {"win", "vst", "vda", "tga", "icb", "cut", "rpf", "rla"};
    std::mt19937 random(20261207);
    for (const std::string_view extension : kExtensions) {
        for (const std::size_t size : {1, 40, 700, 5000}) {
            Bytes noise(size);
            for (auto& byte : noise)
                byte = static_cast<std::uint8_t>(random());
            const auto format = formatOfExtension(extension);
            const DecodeOutcome outcome = decodePictureBytes(noise, *format);
            const Picture& picture = outcome.picture;
            EXPECT_EQ(picture.rgb.size(), static_cast<std::size_t>(picture.width) * picture.height * 3);
            if (std::find(std::begin(kHeaderless), std::end(kHeaderless), extension) == std::end(kHeaderless)) {
                EXPECT_TRUE(picture.empty()) << extension << " " << size;
            }
            probePictureBytes(noise, *format);
        }
    }
}

// A fixture with its first occurrence of `from` replaced by `to`.
struct Patch {
    std::string_view file;
    std::string_view from;
    std::string_view to;
};

Bytes patched(const Patch& patch) {
    Bytes bytes = readBytes(picturePath(std::string(patch.file)));
    const auto at = std::search(bytes.begin(), bytes.end(), patch.from.begin(), patch.from.end(),
                                [](std::uint8_t b, char s) { return b == static_cast<std::uint8_t>(s); });
    EXPECT_NE(at, bytes.end()) << patch.file;
    const auto offset = at - bytes.begin();
    bytes.erase(at, at + static_cast<std::ptrdiff_t>(patch.from.size()));
    bytes.insert(bytes.begin() + offset, patch.to.begin(), patch.to.end());
    return bytes;
}

// A header that declares a giant picture is refused by the decoder, which
// must not try to allocate it, and by the probe.
TEST(DamagedPictures, GiantDeclaredSizesAreRefused) {
    const Patch cases[] = {
        {"quad.bmp", "\x20\0\0\0\x18\0\0\0"sv, "\xA0\x86\x01\0\xA0\x86\x01\0"sv},
        {"quad.dib", "\x20\0\0\0\x18\0\0\0"sv, "\xA0\x86\x01\0\xA0\x86\x01\0"sv},
        {"quad.wmf", "\x80\x02\xE0\x01\xA0\x05"sv, "\xFF\x7F\xFF\x7F\x01\0"sv},
        {"quad.emf", "\x20\0\0\0\x18\0\0\0"sv, "\xA0\x86\x01\0\xA0\x86\x01\0"sv},
        {"quad.jpg", "\x08\0\x18\0\x20"sv, "\x08\xFF\xFF\xFF\xFF"sv},
        {"quad_cmyk.jpg", "\x08\0\x18\0\x20"sv, "\x08\xFF\xFF\xFF\xFF"sv},
        {"quad.tga", "\x20\0\x18\0"sv, "\xFF\xFF\xFF\xFF"sv},
        {"quad_la_rle.tga", "\x20\0\x18\0"sv, "\xFF\xFF\xFF\xFF"sv},
        {"quad.tif", "\x01\x03\0\x01\0\0\0\x20\0"sv, "\x01\x03\0\x01\0\0\0\xFF\xFF"sv},
        {"quad.pcx", "\x1F\0\x17\0"sv, "\xFF\xFF\xFF\xFF"sv},
        {"quad.rla", "\0\0\0\x1F\0\0\0\x17\0\0\0\x1F\0\0\0\x17"sv,
         "\0\0\x7F\xFF\0\0\x7F\xFF\0\0\x7F\xFF\0\0\x7F\xFF"sv},
        {"quad.sgi", "\0\x20\0\x18"sv, "\xFF\xFF\xFF\xFF"sv},
        {"quad.ppm", "32 24"sv, "100000 100000"sv},
        {"quad.pbm", "32 24"sv, "100000 100000"sv},
        {"quad.cut", "\x20\0\x18\0"sv, "\xFF\xFF\xFF\xFF"sv},
        {"quad.png", "\0\0\0\x20\0\0\0\x18"sv, "\0\x01\x86\xA0\0\x01\x86\xA0"sv},
        {"quad.eps", "0 0 32 24"sv, "0 0 100000 100000"sv},
        {"quad.eps", "%%BoundingBox: 0 0 32 24"sv, "%%BoundingBox: 0 0 32 24\n%ImageData: 100000 100000 8 3 0 1 1"sv},
    };
    for (const Patch& patch : cases) {
        const Refused refused = decodeRefused(patched(patch), extensionOf(patch.file));
        EXPECT_NE(refused.error, "") << patch.file;
        EXPECT_FALSE(refused.probed) << patch.file;
    }
}

// Records that point outside the file or at objects that do not exist,
// which the libraries behind the metafile decoders would follow.
TEST(DamagedPictures, MetafileRecordsAreCheckedFirst) {
    const Patch cases[] = {
        // The first pen is never created, and then selected.
        {"quad.wmf", "\xFA\x02"sv, "\x06\xFD"sv},
        // A record longer than the file.
        {"quad.wmf", "\x07\0\0\0\xFC\x02"sv, "\x07\0\0\x10\xFC\x02"sv},
        // No end record.
        {"quad.wmf", "\x03\0\0\0\0\0"sv, "\x03\0\0\0\x01\0"sv},
        // The second quadrant's brush never created: the first one, deleted,
        // is still selected when the rectangle is drawn.
        {"quad.wmf", "\x07\0\0\0\xFC\x02\0\0\0\xFF"sv, "\x07\0\0\0\x4A\x02\0\0\0\xFF"sv},
        // An end record of the wrong size, which libwmf plays past, to a
        // brush that is never created.
        {"quad.wmf", "\xFC\x02\0\0\xFF\xFF\xFF\0"sv, "\0\0\0\0\xFF\xFF\xFF\0"sv},
        {"quad.emf", "\x27\0\0\0\x18\0\0\0"sv, "\x27\0\0\0\x18\0\0\x10"sv},
        {"quad.emf", "\x27\0\0\0\x18\0\0\0"sv, "\x27\0\0\0\x17\0\0\0"sv},
        {"quad.emf", "\x0E\0\0\0\x14\0\0\0"sv, "\x0F\0\0\0\x14\0\0\0"sv},
        // A description of 64 characters that would run past the header.
        {"quad.emf", "\x05\0\0\0\0\0\0\0\0\0\0\0"sv, "\x05\0\0\0\x40\0\0\0\x50\0\0\0"sv},
        // A description of no stated length, read up to a zero that the
        // header does not hold.
        {"quad.emf", "\x05\0\0\0\0\0\0\0\0\0\0\0"sv, "\x05\0\0\0\0\0\0\0\x80\0\0\0"sv},
    };
    for (const Patch& patch : cases)
        EXPECT_NE(decodeRefused(patched(patch), extensionOf(patch.file)).error, "") << patch.file << " " << patch.to;
}

} // namespace
} // namespace gamarium::pictures
