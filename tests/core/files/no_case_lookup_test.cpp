#include "core/files/no_case_lookup.h"

#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace gamarium::files {
namespace {

// The listing-once lookup answers as the single lookup does, for names
// present exactly, in another letter case (Cyrillic included), missing,
// and for case-only twins where the exact one wins.
TEST(NoCaseLookup, AnswersAsFindNoCase) {
    gamarium::testing::TempFolder folder;
    const Path root = folder.path();
    for (const char* name : {"Mario.PNG", "mario.png", "Contra.gif", "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0.bmp"})
        std::ofstream(root / Path(std::u8string(reinterpret_cast<const char8_t*>(name))));
    std::filesystem::create_directory(root / "G");
    NoCaseLookup lookup;
    for (const char* name : {"Mario.PNG", "mario.png", "MARIO.png", "contra.GIF", "Contra.gif", "missing.png", "",
                             "g", "\xE8\xE3\xF0\xE0.BMP" /* "игра.BMP" in Windows-1251 */}) {
        const text::StoredText stored = text::StoredText::fromCp1251(name);
        EXPECT_EQ(lookup.find(root, stored), findNoCase(root, stored)) << name;
        EXPECT_EQ(lookup.hasFile(root, stored), fileExists(findNoCase(root, stored))) << name;
    }
    std::filesystem::create_directory(root / "sub");
    std::ofstream(root / "sub" / "in.png");
    EXPECT_TRUE(NoCaseLookup().hasFile(root, "sub\\in.png"_stored)) << "a name with a folder in it";
    EXPECT_EQ(lookup.find(root, "contra.GIF"_stored).filename(), "Contra.gif");
    EXPECT_EQ(lookup.find(root / "nowhere", "x.png"_stored), root / "nowhere" / "x.png");
}

} // namespace
} // namespace gamarium::files
