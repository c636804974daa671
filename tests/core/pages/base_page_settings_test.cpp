#include "core/files/files.h"
#include "core/pages/base_page_settings.h"
#include "core/support/temp_folder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace gamarium::pages {
namespace {

// Values come back as they were set, each base keeps its own, and what
// another window keeps for the base or other bases is not lost.
TEST(BasePageSettings, KeepsEachBasesValuesWhateverTheyHold) {
    gamarium::testing::TempFolder home;
    const std::pair<const char*, std::string> values[] = {
        {"template", "C:\\site\\шаблон.htd"},
        {"remote", "sftp://user@host/~/site with spaces/"},
        {"lines", "one\r\ntwo\\n=three"},
        {"empty", ""},
    };
    BasePageSettings games(home.path(), "Games");
    for (const auto& [key, value] : values)
        games.set(key, value);
    games.save();
    BasePageSettings other(home.path(), "Other");
    other.set("template", "other.htd");
    other.save();

    const BasePageSettings again(home.path(), "GAMES");
    for (const auto& [key, value] : values)
        EXPECT_EQ(again.value(key), value) << key;
    EXPECT_EQ(again.value("missing"), std::nullopt);
    EXPECT_EQ(BasePageSettings(home.path(), "other").value("template"), "other.htd");

    PageSettings settings;
    settings.gamesPerPage = 5;
    rememberRun(home.path(), "Other", home.path() / "t.htd", settings);
    const auto run = rememberedRun(home.path(), "Other");
    ASSERT_TRUE(run);
    EXPECT_EQ(run->templateFile, home.path() / "t.htd");
    EXPECT_EQ(run->settings.gamesPerPage, 5);
    EXPECT_EQ(BasePageSettings(home.path(), "Games").value("remote"), values[1].second) << "another base untouched";
    EXPECT_EQ(rememberedRun(home.path(), "Nothing"), std::nullopt);
}

} // namespace
} // namespace gamarium::pages
