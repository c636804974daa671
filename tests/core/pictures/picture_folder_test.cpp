#include "core/pictures/picture_folder.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace gamarium::pictures {
namespace {

using gamarium::testing::TempFolder;

TEST(PictureFolder, FleftCutsAtTheFirstUnderscore) {
    EXPECT_EQ(fleft("Super_Mario_Bros*.*"), "Super");
    EXPECT_EQ(fleft("*.*"), "*.*");
    EXPECT_EQ(fleft("_x"), "");
    EXPECT_EQ(fleft(""), "");
}

TEST(PictureFolder, ListsFilesByMaskWithOneFallback) {
    TempFolder temp;
    for (const char* name : {"Super1.png", "SUPER2.JPG", ".hidden_super.png", "Mario.png"})
        std::ofstream(temp.path() / name) << "x";
    std::filesystem::create_directory(temp.path() / "Super3");
    const files::Path folder = temp.path();

    struct Case {
        std::string mask;
        std::vector<std::string> listed;
        std::string maskAfter;
    };
    const std::vector<Case> cases = {
        {"Super_Mario_Bros*.*", {"SUPER2.JPG", "Super1.png"}, "Super*.*"},
        {"super*.*", {"SUPER2.JPG", "Super1.png"}, "super*.*"},
        {"*.*", {".hidden_super.png", "Mario.png", "SUPER2.JPG", "Super1.png"}, "*.*"},
        {"Zelda_II*.*", {}, "Zelda*.*"},
    };
    for (const Case& c : cases) {
        std::string mask = c.mask;
        std::vector<std::string> listed;
        for (const text::StoredText& name : scanPictureFolder(folder, mask)) listed.push_back(name.bytes());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(listed, c.listed) << c.mask;
        EXPECT_EQ(mask, c.maskAfter);
    }
    std::string mask = "*.*";
    EXPECT_TRUE(scanPictureFolder(folder / "missing", mask).empty());
}

TEST(PictureFolder, FindsFilesWhateverTheLetterCase) {
    TempFolder temp;
    // A program folder whose path Windows-1251 cannot hold is found as it is.
    const auto home = temp.path() / "用户";
    std::filesystem::create_directories(home / "Images" / "Games" / "m");
    std::ofstream(home / "Images" / "Games" / "m" / "Mario.PNG") << "x";
    const auto folder = gamePictureFolder(home, "games", "M"_stored);
    EXPECT_EQ(folder, home / "Images" / "Games" / "m");
    EXPECT_EQ(pictureFile(folder, "mario.png"_stored), home / "Images" / "Games" / "m" / "Mario.PNG");
}

} // namespace
} // namespace gamarium::pictures
