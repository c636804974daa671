#include "core/pictures/cel_decoder.h"
#include "core/pictures/psd_decoder.h"
#include "core/pictures/psp_decoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <ostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

// The program's own decoders of Photoshop, Paint Shop Pro and Animator
// pictures, each run over the same checks: the small pictures under
// tests/data/pictures (written by make_own_fixtures.py there), damaged and
// oversized copies of them, random bytes, and the shared picture corpus.
namespace gamarium::pictures {
namespace {

using Bytes = std::vector<std::uint8_t>;
using Rgb = std::array<int, 3>;

struct Pixel {
    int x = 0;
    int y = 0;
    Rgb rgb{};
};

struct Fixture {
    std::string file;
    int width = 0;
    int height = 0;
    std::vector<Pixel> pixels;
};

// Bytes written over a fixture at an offset, which must make it fail.
struct Damage {
    std::string file;
    std::size_t offset = 0;
    Bytes bytes;
    std::string what;
};

struct Format {
    std::string name;
    std::optional<Picture> (*decode)(std::span<const std::uint8_t>);
    std::optional<PictureSize> (*probe)(std::span<const std::uint8_t>);
    std::vector<Fixture> fixtures;
    std::vector<Damage> damaged;   // the decoder refuses these
    std::vector<Damage> oversized; // header sizes that the probe and the decoder both refuse
    std::vector<std::string> corpusFolders;
};

void PrintTo(const Format& format, std::ostream* out) { *out << format.name; }

Bytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes fixtureBytes(const std::string& file) {
    return readFile(std::filesystem::path(GAMARIUM_TEST_DATA) / "pictures" / file);
}

Bytes damagedCopy(const Damage& damage) {
    Bytes bytes = fixtureBytes(damage.file);
    std::copy(damage.bytes.begin(), damage.bytes.end(), bytes.begin() + static_cast<std::ptrdiff_t>(damage.offset));
    return bytes;
}

Rgb colourAt(const Picture& picture, int x, int y) {
    const auto at = static_cast<std::size_t>((y * picture.width + x) * 3);
    return {picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]};
}

// Whatever a decoder makes of any bytes, a picture it returns is whole and
// of the size its probe reads.
void expectConsistent(const Format& format, std::span<const std::uint8_t> bytes) {
    const auto picture = format.decode(bytes);
    if (!picture)
        return;
    ASSERT_FALSE(picture->empty());
    EXPECT_EQ(picture->rgb.size(), static_cast<std::size_t>(picture->width) * picture->height * 3);
    const auto size = format.probe(bytes);
    ASSERT_TRUE(size);
    EXPECT_EQ(*size, (PictureSize{picture->width, picture->height}));
}

constexpr Rgb kWhite{255, 255, 255};

// The colour pattern of the RGB fixtures: (10 + 40x, 20 + 80y, 250 - 50x - 20y).
const std::vector<Pixel> kRgbPattern = {
    {0, 0, {10, 20, 250}}, {4, 0, {170, 20, 50}}, {2, 1, {90, 100, 130}}, {4, 2, {170, 180, 10}}};

Format psdFormat() {
    return {
        "Photoshop",
        decodePsd,
        probePsdSize,
        {
            {"sample.psd", 5, 3, kRgbPattern}, // raw, with alpha, resources and a layer section
            {"sample_rle.psd", 5, 3, kRgbPattern},
            {"sample.pdd", 5, 3,
             {{0, 0, {1, 1, 1}}, {1, 0, {49, 49, 49}}, {2, 1, {113, 113, 113}}, {4, 2, {224, 224, 224}}}},
            {"sample_cmyk.psd", 2, 2,
             {{0, 0, kWhite}, {1, 0, {0, 255, 255}}, {0, 1, {128, 128, 128}}, {1, 1, {128, 0, 128}}}},
            {"sample_indexed.psd", 3, 2,
             {{0, 0, {0, 255, 0}}, {2, 0, {255, 0, 249}}, {0, 1, {7, 248, 49}}, {2, 1, {2, 253, 14}}}},
            {"sample_bitmap.psd", 10, 2,
             {{0, 0, {0, 0, 0}}, {1, 0, kWhite}, {8, 0, kWhite}, {9, 0, {0, 0, 0}}, {5, 1, {0, 0, 0}}}},
        },
        {
            {"sample_rle.psd", 58, {0x81}, "a run longer than its row"},
            {"sample_rle.psd", 40, {0xFF, 0xFF}, "a row length past the end of the file"},
            {"sample_rle.psd", 38, {0, 2}, "zip compression"},
            {"sample.psd", 22, {0, 32}, "32-bit samples"},
            {"sample.psd", 24, {0, 9}, "Lab colour"},
            {"sample.psd", 12, {0, 2}, "an RGB picture with two channels"},
            {"sample.psd", 4, {0, 2}, "the large-document version"},
            {"sample.psd", 26, {0, 1, 0, 0}, "a colour mode section past the end"},
            {"sample_indexed.psd", 24, {0, 3}, "a palette picture turned to RGB with one channel"},
        },
        {
            {"sample.psd", 18, {0, 0, 0x9C, 0x40}, "40000 pixels wide"},
            {"sample.psd", 14, {0, 0, 0x40, 0, 0, 0, 0x40, 0}, "16384 x 16384"},
            {"sample.psd", 14, {0, 0, 0, 0}, "no rows"},
        },
        {"psd", "pdd"},
    };
}

Format pspFormat() {
    return {
        "Paint Shop Pro",
        decodePsp,
        probePspSize,
        {
            {"sample.psp", 5, 3, kRgbPattern}, // version 5, raw, channels stored blue first, rows unpadded
            // Version 6, run-length: a 3 x 2 layer at (1, 1) over white.
            {"sample_rle.psp", 5, 3,
             {{0, 0, kWhite}, {1, 0, kWhite}, {1, 1, {10, 20, 250}}, {3, 2, {90, 100, 130}}, {4, 2, kWhite}}},
            // Version 7, LZ77: the composite image, in the inverse colours of the layer.
            {"sample_lz77.psp", 5, 3, {{0, 0, {245, 235, 5}}, {4, 2, {85, 75, 245}}}},
            // Version 3, old block headers, 8-bit palette, rows padded.
            {"sample_v3.psp", 5, 3, {{0, 0, {0, 255, 0}}, {1, 1, {115, 202, 53}}, {4, 2, {162, 49, 206}}}},
            // Version 4 written with the old block headers, 4-bit palette, run-length.
            {"sample_v4.psp", 5, 3,
             {{0, 0, {0, 255, 100}}, {4, 0, {64, 191, 100}}, {1, 2, {176, 79, 100}}, {4, 2, {224, 31, 100}}}},
        },
        {
            {"sample.psp", 277, {0xFF, 0xFF, 0, 0}, "a channel block longer than its layer"},
            {"sample.psp", 281, {200, 0, 0, 0}, "stored channel data longer than its block"},
            {"sample.psp", 285, {16, 0, 0, 0}, "an unpacked length that fits no row layout"},
            {"sample.psp", 69, {16, 0}, "16 bits per pixel"},
            {"sample.psp", 67, {3, 0}, "JPEG compression of the layers"},
            {"sample.psp", 112, {'X'}, "a block without its mark"},
            {"sample.psp", 0, {'p'}, "another signature"},
            {"sample_rle.psp", 306, {0xFF}, "a run longer than the channel"},
            {"sample_lz77.psp", 560, {0x00, 0x11}, "broken LZ77 data in the composite image"},
            {"sample_v3.psp", 102, {0x2C, 0x01}, "a palette of 300 colours"},
        },
        {
            {"sample.psp", 50, {0x40, 0x9C, 0, 0}, "40000 pixels wide"},
            {"sample.psp", 50, {0xFB, 0xFF, 0xFF, 0xFF}, "-5 pixels wide"},
            {"sample.psp", 50, {0, 0x40, 0, 0, 0, 0x40, 0, 0}, "16384 x 16384"},
            {"sample_v3.psp", 54, {0, 0, 0, 0}, "no rows"},
        },
        {"psp"},
    };
}

Format celFormat() {
    return {
        "Animator",
        decodeCel,
        probeCelSize,
        {
            // Original Animator: 6-bit palette.
            {"sample.cel", 5, 3,
             {{0, 0, {0, 0, 255}}, {4, 0, {130, 130, 125}}, {1, 1, {190, 53, 65}}, {4, 2, {186, 40, 69}}}},
            // Animator Pro picture, with a chunk of an unknown type.
            {"sample.pic", 5, 3, {{0, 0, {0, 255, 0}}, {2, 1, {87, 168, 43}}, {4, 2, {174, 81, 87}}}},
            // Animator Pro cel: a flic with a prefix chunk, a thumbnail, colours and byte runs.
            {"sample_flc.cel", 5, 3,
             {{0, 0, {246, 9, 2}}, {3, 0, {55, 200, 50}}, {1, 1, {245, 10, 2}}, {4, 2, {236, 19, 4}}}},
            // The older flic: 6-bit colour packets and a raw copy.
            {"sample_fli.cel", 4, 2,
             {{0, 0, {255, 0, 0}}, {1, 0, {0, 255, 0}}, {2, 0, {0, 0, 255}}, {1, 1, {255, 0, 0}}}},
        },
        {
            {"sample.cel", 10, {4}, "4 bits per pixel"},
            {"sample.cel", 11, {1}, "a compression flag"},
            {"sample.pic", 0, {0xFF, 0xFF}, "a file length past the end"},
            {"sample.pic", 64, {3, 0, 0, 0}, "a chunk shorter than its header"},
            {"sample.pic", 18, {4}, "4 bits per pixel"},
            {"sample_flc.cel", 979, {6}, "a run longer than its row"},
            {"sample_flc.cel", 976, {12, 0}, "a delta frame with nothing to change"},
            {"sample_flc.cel", 166, {0xFB}, "no frame chunk"},
            {"sample_fli.cel", 152, {255}, "colours past the end of the palette"},
        },
        {
            {"sample.cel", 2, {0x40, 0x9C}, "40000 pixels wide"},
            {"sample.cel", 2, {0, 0x40, 0, 0x40}, "16384 x 16384"},
            {"sample.pic", 6, {0x40, 0x9C}, "40000 pixels wide"},
            {"sample_flc.cel", 8, {0, 0x40, 0, 0x40}, "16384 x 16384"},
            {"sample_fli.cel", 10, {0, 0}, "no rows"},
        },
        {"cel", "pic"},
    };
}

class OwnDecoder : public testing::TestWithParam<Format> {};

TEST_P(OwnDecoder, FixturesDecodeToKnownColours) {
    const Format& format = GetParam();
    for (const Fixture& fixture : format.fixtures) {
        SCOPED_TRACE(fixture.file);
        const Bytes bytes = fixtureBytes(fixture.file);
        ASSERT_FALSE(bytes.empty());
        const auto picture = format.decode(bytes);
        ASSERT_TRUE(picture);
        ASSERT_EQ(picture->width, fixture.width);
        ASSERT_EQ(picture->height, fixture.height);
        ASSERT_EQ(picture->rgb.size(), static_cast<std::size_t>(fixture.width * fixture.height * 3));
        for (const Pixel& pixel : fixture.pixels)
            EXPECT_EQ(colourAt(*picture, pixel.x, pixel.y), pixel.rgb) << "at " << pixel.x << "," << pixel.y;
    }
}

TEST_P(OwnDecoder, ProbeReadsTheSizeFromTheHeaderAlone) {
    const Format& format = GetParam();
    for (const Fixture& fixture : format.fixtures) {
        SCOPED_TRACE(fixture.file);
        const Bytes bytes = fixtureBytes(fixture.file);
        // The whole file, then just the bytes up to the start of the pixels.
        for (const std::size_t length : {bytes.size(), std::min<std::size_t>(bytes.size(), 130)}) {
            const auto size = format.probe(std::span(bytes).first(length));
            ASSERT_TRUE(size) << length << " bytes";
            EXPECT_EQ(*size, (PictureSize{fixture.width, fixture.height}));
        }
        EXPECT_FALSE(format.probe(std::span(bytes).first(6)));
    }
}

TEST_P(OwnDecoder, TruncatedFilesFail) {
    const Format& format = GetParam();
    for (const Fixture& fixture : format.fixtures) {
        const Bytes bytes = fixtureBytes(fixture.file);
        const std::size_t n = bytes.size();
        for (const std::size_t length : {std::size_t{0}, std::size_t{10}, n / 4, n / 2, n * 3 / 4, n - 1})
            EXPECT_FALSE(format.decode(std::span(bytes).first(length))) << fixture.file << " cut to " << length;
    }
}

TEST_P(OwnDecoder, DamagedFilesFail) {
    for (const Damage& damage : GetParam().damaged) {
        const Bytes bytes = damagedCopy(damage);
        EXPECT_FALSE(GetParam().decode(bytes)) << damage.file << ": " << damage.what;
    }
}

TEST_P(OwnDecoder, OversizedPicturesAreRefusedByHeader) {
    for (const Damage& damage : GetParam().oversized) {
        const Bytes bytes = damagedCopy(damage);
        EXPECT_FALSE(GetParam().probe(bytes)) << damage.file << ": " << damage.what;
        EXPECT_FALSE(GetParam().decode(bytes)) << damage.file << ": " << damage.what;
    }
}

// Random bytes are never a picture; fixtures with random bytes changed, or
// with their second half random, either fail or decode to a whole picture.
TEST_P(OwnDecoder, RandomBytesNeverBreakTheDecoder) {
    const Format& format = GetParam();
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 200; ++i) {
        Bytes bytes(static_cast<std::size_t>(random() % 2000));
        std::generate(bytes.begin(), bytes.end(), [&] { return static_cast<std::uint8_t>(byte(random)); });
        EXPECT_FALSE(format.decode(bytes));
        EXPECT_FALSE(format.probe(bytes));
    }
    for (const Fixture& fixture : format.fixtures) {
        SCOPED_TRACE(fixture.file);
        const Bytes original = fixtureBytes(fixture.file);
        for (int i = 0; i < 300; ++i) {
            Bytes bytes = original;
            for (int changes = 1 + i % 4; changes > 0; --changes)
                bytes[random() % bytes.size()] = static_cast<std::uint8_t>(byte(random));
            expectConsistent(format, bytes);
            std::generate(bytes.begin() + static_cast<std::ptrdiff_t>(bytes.size() / 2), bytes.end(),
                          [&] { return static_cast<std::uint8_t>(byte(random)); });
            expectConsistent(format, bytes);
        }
    }
}

// MANIFEST.tsv: a file's path in the corpus, a tab, and what it must give:
// sizes such as 320x240 joined by |, fail, fail-ok (may fail) or any.
std::map<std::string, std::string> readManifest(const std::filesystem::path& path) {
    std::map<std::string, std::string> manifest;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        const auto tab = line.find('\t');
        if (!line.starts_with('#') && tab != std::string::npos)
            manifest[line.substr(0, tab)] = line.substr(tab + 1);
    }
    return manifest;
}

bool manifestAccepts(const std::string& expected, const std::string& outcome) {
    if (expected == "fail-ok")
        return true;
    if (expected == "any")
        return outcome != "fail";
    std::istringstream alternatives(expected);
    std::string alternative;
    while (std::getline(alternatives, alternative, '|'))
        if (alternative == outcome)
            return true;
    return false;
}

TEST_P(OwnDecoder, CorpusFilesDecodeToManifestSizes) {
    const Format& format = GetParam();
    const std::filesystem::path corpus = GAMARIUM_PICTURE_CORPUS;
    if (!std::filesystem::exists(corpus / "MANIFEST.tsv"))
        GTEST_SKIP() << "no picture corpus at " << corpus;
    const auto manifest = readManifest(corpus / "MANIFEST.tsv");
    int checked = 0;
    for (const std::string& folder : format.corpusFolders) {
        if (!std::filesystem::is_directory(corpus / folder))
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(corpus / folder)) {
            const std::string name = folder + "/" + entry.path().filename().string();
            const auto expected = manifest.find(name);
            ASSERT_NE(expected, manifest.end()) << name << " is missing from the manifest";
            const Bytes bytes = readFile(entry.path());
            const auto picture = format.decode(bytes);
            const std::string outcome =
                picture ? std::to_string(picture->width) + "x" + std::to_string(picture->height) : "fail";
            EXPECT_TRUE(manifestAccepts(expected->second, outcome))
                << name << ": expected " << expected->second << ", got " << outcome;
            if (picture) {
                const auto size = format.probe(std::span(bytes).first(std::min<std::size_t>(bytes.size(), 4096)));
                EXPECT_EQ(size, (PictureSize{picture->width, picture->height})) << name;
            }
            ++checked;
        }
    }
    if (checked == 0)
        GTEST_SKIP() << "no " << format.name << " files in the corpus";
}

INSTANTIATE_TEST_SUITE_P(Psd, OwnDecoder, testing::Values(psdFormat()));
INSTANTIATE_TEST_SUITE_P(Psp, OwnDecoder, testing::Values(pspFormat()));
INSTANTIATE_TEST_SUITE_P(Cel, OwnDecoder, testing::Values(celFormat()));

} // namespace
} // namespace gamarium::pictures
