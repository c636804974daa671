#include "core/pages/block.h"
#include "core/pages/site_fixture.h"

#include <gtest/gtest.h>

namespace gamarium::pages {
namespace {

class PagesBlockRenderer : public SiteTest {
protected:
    // Renders every game in table order, as "width x height patch".
    std::vector<std::string> renderAll() {
        return render("$Width x $Height $Image");
    }

    std::vector<std::string> render(std::string_view blockTemplate) {
        const std::vector<GameRecord> games = readGames(games_);
        const std::vector<GameKeys> keys = readGameKeys(games_);
        const std::vector<PatchRecord> patches = readPatches(patches_);
        std::vector<std::int64_t> order;
        for (std::size_t i = 1; i <= games.size(); ++i)
            order.push_back(static_cast<std::int64_t>(i));
        PictureSizes sizes(home_.path(), "games", PictureSizes::Coverage::WholeBase);
        sizes.read(keys, order);
        BlockRenderer renderer(keys, patches, sizes, BlockSettings{}, {});
        std::vector<std::string> blocks;
        for (const std::int64_t position : order)
            blocks.push_back(renderer.addnames(blockTemplate, position, games[static_cast<std::size_t>(position - 1)]));
        lastPatchPosition_ = renderer.lastPatchPosition();
        return blocks;
    }

    std::int64_t lastPatchPosition_ = 0;
};

TEST_F(PagesBlockRenderer, PictureSizesFromTheBasePictureFolder) {
    writePicture("c", "Contra.PNG", 512, 448);
    writePicture("d", "dd.png", 400, 300);
    writeFile("d", "broken.png", "not a picture");
    writeFile("d", "notes.txt", "text");
    writePicture("E", "e.png", 640, 240); // folder in capitals, Sid in small letters
    std::filesystem::create_directories(home_.path() / "images" / "c");
    writePicture("../c", "wrong.png", 100, 100); // images/<Sid>/ is not where pictures are looked up

    add({.name = "Before any", .sid = "c", .image1 = "missing.png"});
    add({.name = "Contra", .sid = "c", .image1 = "contra.png"});
    add({.name = "Missing", .sid = "c", .image1 = "missing.png"});
    add({.name = "No picture", .sid = "c"});
    add({.name = "Double Dragon", .sid = "d", .image1 = "dd.png"});
    add({.name = "Broken", .sid = "d", .image1 = "broken.png"});
    add({.name = "Double Dragon", .sid = "d", .image1 = "dd.png"});
    add({.name = "Notes", .sid = "d", .image1 = "notes.txt"});
    add({.name = "Elite", .sid = "e", .image1 = "e.png"});
    add({.name = "Wrong folder", .sid = "c", .image1 = "wrong.png"});

    EXPECT_EQ(renderAll(), (std::vector<std::string>{
                               "0 x 0 i/c/missing.png",
                               "256 x 224 i/c/contra.png",
                               "256 x 224 i/c/missing.png",
                               "256 x 224 i/c/",
                               "400 x 300 i/d/dd.png",
                               "0 x 0 i/d/broken.png",
                               "400 x 300 i/d/dd.png",
                               "0 x 0 i/d/notes.txt",
                               "320 x 240 i/e/e.png",
                               "320 x 240 i/c/wrong.png",
                           }));
}

TEST_F(PagesBlockRenderer, PatchFoundByPosition) {
    addPatch("one.zip", "ur");
    addPatch("two.zip", "ju");
    addPatch("three.zip", "jr");
    add({.name = "Zero", .sid = "z", .patch = 0});
    add({.name = "Two", .sid = "t", .patch = 2});
    add({.name = "Beyond", .sid = "b", .patch = 9});
    add({.name = "None", .sid = "n"});

    std::vector<std::string> blocks = render("$Name:$Patch");
    for (std::string& block : blocks)
        block.resize(std::min<std::size_t>(block.size(), 40));
    EXPECT_EQ(blocks, (std::vector<std::string>{
                          "Zero:<p><a href=\"../../patch/snes/one.zi",
                          "Two:<p><a href=\"../../patch/snes/ext/two",
                          "Beyond:<p><a href=\"../../patch/snes/thre",
                          "None:",
                      }));
    EXPECT_EQ(lastPatchPosition_, 9);
}

} // namespace
} // namespace gamarium::pages
