#include "core/pictures/decoder.h"
#include "core/pictures/probe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The shared picture corpus: every file listed in its MANIFEST.tsv goes
// through the decoder and the size probe. A size (or one of the sizes
// separated by "|") must be met, "fail" refused, "any" decoded to some
// size, "fail-ok" may go either way; the probe tells what the decoder does.
namespace gamarium::pictures {
namespace {

std::string sizeText(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

std::vector<std::string> alternatives(const std::string& expected) {
    std::vector<std::string> result;
    std::stringstream in(expected);
    for (std::string one; std::getline(in, one, '|');)
        result.push_back(one);
    return result;
}

bool contains(const std::vector<std::string>& list, const std::string& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

TEST(PictureCorpus, EveryFileMeetsTheManifest) {
    const std::filesystem::path corpus(GAMARIUM_PICTURE_CORPUS);
    std::ifstream manifest(corpus / "MANIFEST.tsv");
    if (!manifest)
        GTEST_SKIP() << "no picture corpus at " << corpus;
    int files = 0;
    for (std::string line; std::getline(manifest, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        const std::string file = line.substr(0, line.find('\t'));
        const std::string expected = line.substr(line.find('\t') + 1);
        ++files;
        const DecodeOutcome outcome = decodePictureExplained(corpus / file);
        const Picture& picture = outcome.picture;
        const bool decoded = !picture.empty();
        const std::string got = decoded ? sizeText(picture.width, picture.height) : "fail";
        if (expected == "any") {
            EXPECT_TRUE(decoded) << file << ": " << outcome.error;
        } else if (expected != "fail-ok") {
            EXPECT_TRUE(contains(alternatives(expected), got)) << file << ": " << got << " " << outcome.error;
        }
        EXPECT_EQ(decoded, outcome.error.empty()) << file;
        const auto probed = probePictureSize(corpus / file);
        if (decoded || expected != "fail-ok") {
            EXPECT_EQ(probed ? sizeText(probed->width, probed->height) : "fail", got) << file << " (probe)";
        }
    }
    EXPECT_GT(files, 200);
}

} // namespace
} // namespace gamarium::pictures
