#include "core/pictures/decoder.h"
#include "core/pictures/probe.h"

#include "core/pictures/picture_files.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace gamarium::pictures {
namespace {

using gamarium::testing::Bytes;
using gamarium::testing::picturePath;
using gamarium::testing::pixelAt;
using gamarium::testing::readBytes;
using gamarium::testing::Rgb;
using gamarium::testing::TempFolder;
using gamarium::testing::writeBytes;

using Quadrants = std::array<Rgb, 4>; // top left, top right, bottom left, bottom right

constexpr Quadrants kColour{{{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}}};
constexpr Quadrants kGrey{{{76, 76, 76}, {150, 150, 150}, {29, 29, 29}, {255, 255, 255}}};
constexpr Quadrants kBilevel{{{0, 0, 0}, {255, 255, 255}, {0, 0, 0}, {255, 255, 255}}};
// The right half is grey at half opacity, laid on white.
constexpr Quadrants kGreyHalfClear{{{76, 76, 76}, {202, 202, 202}, {29, 29, 29}, {255, 255, 255}}};

struct Fixture {
    const char* file;
    int width = 32;
    int height = 24;
    Quadrants quadrants = kColour;
    int tolerance = 2;
};

void PrintTo(const Fixture& fixture, std::ostream* out) { *out << fixture.file; }

// One fixture for every extension, plus the variants a decoder treats
// apart (Adobe CMYK JPEG, run-length and grey-with-alpha Targa).
const Fixture kFixtures[] = {
    {"quad.bmp"},
    {"quad.rle"},
    {"quad.dib"},
    {"quad.ico"},
    {"quad.wmf"},
    {"quad.emf"},
    {"quad.jfif", 32, 24, kColour, 4},
    {"quad.jpg", 32, 24, kColour, 4},
    {"quad.jpe", 32, 24, kColour, 4},
    {"quad.jpeg", 32, 24, kColour, 4},
    {"quad_cmyk.jpg", 32, 24, kColour, 4},
    {"quad.win"},
    {"quad.vst"},
    {"quad.vda"},
    {"quad.tga"},
    {"quad.icb"},
    {"quad_rle.tga"},
    {"quad_la.tga", 32, 24, kGreyHalfClear},
    {"quad_la_rle.tga", 32, 24, kGreyHalfClear},
    {"quad.tiff"},
    {"quad.tif"},
    {"quad.fax", 32, 24, kBilevel},
    {"quad.eps"},
    {"quad.pcx"},
    {"quad.pcc"},
    {"quad.scr"},
    {"quad.rpf"},
    {"quad.rla"},
    {"quad.sgi"},
    {"quad.rgba"},
    {"quad.rgb"},
    {"quad.bw", 32, 24, kGrey},
    {"quad.ppm"},
    {"quad.pgm", 32, 24, kGrey},
    {"quad.pbm", 32, 24, kBilevel},
    {"quad.pcd", 768, 512, kColour, 16},
    {"quad.cut", 32, 24, kGrey},
    {"quad.png"},
};

class FixtureDecoding : public ::testing::TestWithParam<Fixture> {};

TEST_P(FixtureDecoding, GivesSizeAndQuadrantColoursAndTheProbeAgrees) {
    const Fixture& fixture = GetParam();
    const DecodeOutcome outcome = decodePictureExplained(picturePath(fixture.file));
    ASSERT_EQ(outcome.error, "");
    const Picture& picture = outcome.picture;
    ASSERT_EQ(picture.width, fixture.width);
    ASSERT_EQ(picture.height, fixture.height);
    ASSERT_EQ(picture.rgb.size(), static_cast<std::size_t>(picture.width) * picture.height * 3);
    const int xs[] = {picture.width / 4, picture.width * 3 / 4};
    const int ys[] = {picture.height / 4, picture.height * 3 / 4};
    for (int q = 0; q < 4; ++q) {
        const Rgb got = pixelAt(picture, xs[q % 2], ys[q / 2]);
        for (int c = 0; c < 3; ++c)
            EXPECT_LE(std::abs(got[c] - fixture.quadrants[q][c]), fixture.tolerance) << "quadrant " << q;
    }
    const auto probed = probePictureSize(picturePath(fixture.file));
    ASSERT_TRUE(probed);
    EXPECT_EQ(*probed, (PictureSize{fixture.width, fixture.height}));
}

INSTANTIATE_TEST_SUITE_P(EveryExtension, FixtureDecoding, ::testing::ValuesIn(kFixtures));

// Every picture under tests/data, the other decoders' fixtures included.
TEST(SizeProbe, AgreesWithTheDecoderOnEveryFixture) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(picturePath(""))) {
        if (!formatOfExtension(entry.path().extension().string()))
            continue;
        ++files;
        const Picture picture = decodePicture(entry.path());
        const auto probed = probePictureSize(entry.path());
        ASSERT_FALSE(picture.empty()) << entry.path();
        ASSERT_TRUE(probed) << entry.path();
        EXPECT_EQ(*probed, (PictureSize{picture.width, picture.height})) << entry.path();
    }
    EXPECT_GE(files, 38);
}

TEST(PictureFormats, ExtensionChoosesTheDecoderWhateverItsCase) {
    using enum PictureFormat;
    const std::pair<const char*, std::optional<PictureFormat>> cases[] = {
        {"bmp", Bmp},   {".RLE", Bmp},   {"Dib", Bmp},    {"ico", Ico},  {"WMF", Wmf},    {"emf", Emf},
        {"jfif", Jpeg}, {".JPG", Jpeg},  {"jpe", Jpeg},   {"jPeG", Jpeg}, {"win", Targa}, {"VST", Targa},
        {"vda", Targa}, {"tga", Targa},  {"icb", Targa},  {"tiff", Tiff}, {"TIF", Tiff},  {"fax", Tiff},
        {"eps", Eps},   {"pcx", Pcx},    {"pcc", Pcx},    {"scr", Pcx},   {"rpf", Rla},   {"RLA", Rla},
        {"sgi", Sgi},   {"rgba", Sgi},   {"rgb", Sgi},    {"BW", Sgi},    {"psd", Psd},   {"pdd", Psd},
        {"ppm", Pnm},   {"pgm", Pnm},    {"pbm", Pnm},    {"cel", Cel},   {"PIC", Cel},   {"pcd", Pcd},
        {"cut", Cut},   {"psp", Psp},    {".png", Png},   {"gif", {}},    {"GIF", {}},    {"", {}},
        {".", {}},      {"jpgx", {}},    {"jp", {}},      {"txt", {}},    {"pal", {}},    {"tiff2", {}},
    };
    for (const auto& [extension, format] : cases)
        EXPECT_EQ(formatOfExtension(extension), format) << extension;
}

// A copy of a fixture under another name: the name, not the content,
// chooses the decoder, except that content with the signature of another
// of the program's formats is read as that format.
TEST(DecodePicture, NameChoosesTheDecoder) {
    struct Case {
        const char* fixture;
        const char* copyAs;
        bool decodes;
        const char* error;
    };
    const Case cases[] = {
        {"quad.png", "UPPER.PNG", true, ""},
        {"quad.jpg", "Mixed.JpEg", true, ""},
        {"quad.png", "picture.gif", false, "not a picture file extension"},
        {"quad.png", "no_extension", false, "not a picture file extension"},
        {"quad.png", "png", false, "not a picture file extension"},
        {"quad.png", "misnamed.bmp", true, ""},
        {"quad.jpg", "misnamed.tga", true, ""},
        {"quad.tif", "misnamed.pcx", true, ""},
        {"quad.bmp", "wrong.png", false, nullptr},
        {"quad.tga", "wrong.pcx", false, nullptr},
        {"quad.pcx", "wrong.sgi", false, nullptr},
        {"quad.png", "wrong.jpg.eps", true, ""},
        {"quad.bmp", "wrong.eps", false, "not an EPS file"},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        const auto copy = folder.path() / c.copyAs;
        writeBytes(copy, readBytes(picturePath(c.fixture)));
        const DecodeOutcome outcome = decodePictureExplained(copy);
        EXPECT_EQ(!outcome.picture.empty(), c.decodes) << c.copyAs;
        EXPECT_EQ(outcome.error.empty(), c.decodes) << c.copyAs;
        if (c.error) {
            EXPECT_EQ(outcome.error, c.error) << c.copyAs;
        }
        EXPECT_EQ(probePictureSize(copy).has_value(), c.decodes) << c.copyAs;
    }
    const DecodeOutcome missing = decodePictureExplained(folder.path() / "missing.png");
    EXPECT_TRUE(missing.picture.empty());
    EXPECT_EQ(missing.error, "file cannot be read");
    EXPECT_FALSE(probePictureSize(folder.path() / "missing.png"));
}

// An EPS that holds one raster image (as Photoshop writes them) is drawn at
// that image's size rather than at 72 dpi.
TEST(DecodePicture, EpsWithImageDataIsDrawnAtTheImageSize) {
    Bytes bytes = readBytes(picturePath("quad.eps"));
    const std::string_view box = "%%BoundingBox: 0 0 32 24\n";
    const std::string_view imageData = "%ImageData: 64 48 8 3 0 1 1 \"beginimage\"\n";
    const auto at = std::search(bytes.begin(), bytes.end(), box.begin(), box.end());
    ASSERT_NE(at, bytes.end());
    bytes.insert(at + static_cast<std::ptrdiff_t>(box.size()), imageData.begin(), imageData.end());
    const DecodeOutcome outcome = decodePictureBytes(bytes, PictureFormat::Eps);
    ASSERT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.picture.width, 64);
    EXPECT_EQ(outcome.picture.height, 48);
    EXPECT_EQ(pixelAt(outcome.picture, 60, 4), (Rgb{0, 255, 0}));
    EXPECT_EQ(probePictureBytes(bytes, PictureFormat::Eps), (PictureSize{64, 48}));
}

// PostScript that never ends: Ghostscript is stopped after its time limit
// (each of GraphicsMagick's two attempts), and the file is refused.
TEST(DecodePicture, EndlessPostScriptIsStopped) {
    const std::string_view endless = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{} loop\n";
    const DecodeOutcome outcome =
        decodePictureBytes(Bytes(endless.begin(), endless.end()), PictureFormat::Eps);
    EXPECT_TRUE(outcome.picture.empty());
    EXPECT_NE(outcome.error, "");
}

TEST(PictureLimits, SideAndAreaBoundTheSize) {
    const struct {
        std::int64_t width, height;
        bool allowed;
    } cases[] = {
        {1, 1, true},          {16384, 4096, true},    {4096, 16384, true},  {8192, 8192, true},
        {16385, 1, false},     {1, 16385, false},      {8193, 8192, false},  {0, 10, false},
        {10, 0, false},        {-5, 10, false},        {100000, 100000, false}, {1LL << 32, 1, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(pictureSizeAllowed(c.width, c.height), c.allowed) << c.width << "x" << c.height;
}

} // namespace
} // namespace gamarium::pictures
