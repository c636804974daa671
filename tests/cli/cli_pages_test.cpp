#include "core/support/cli_runner.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
namespace fs = std::filesystem;

class CliPages : public ::testing::Test {
protected:
    void SetUp() override {
        gamarium::testing::makeGamesBase(home_,
                                         "N,Sid,Name,Analog,Patch\r\n1,a,Abc,Other (x),1\r\n2,a,Ace,,\r\n3,b,Bat,,\r\n",
                                         "N,Patch,Text\r\n1,abc.zip,ur\r\n");
        fs::create_directories(site());
        template_ = write(home_, "t.htd", text::fromUtf8("$B\r\n<$LETTER>\r\n$B\r\n[$Name $Image $Patch]\r\n$B\r\n</>\r\n").bytes());
    }

    fs::path site() const { return home_.path() / "site"; }
    std::string pages(const std::string& options = "") {
        return "pages games " + template_ + " '" + site().string() + "' " + options;
    }
    std::string page(const char* name) const { return files::readFile(site() / name); }

    TempFolder home_;
    std::string template_;
};

TEST_F(CliPages, WritesTheSiteAndTellsWhatChanged) {
    const auto first = cli(home_, pages());
    EXPECT_EQ(first.exitCode, 0) << errorText(home_);
    EXPECT_EQ(first.out, "Записано страниц: 3, без изменений: 0\n");
    EXPECT_EQ(errorText(home_), "!!!!!!!!!!!!!\n!!!!!!!!!!!!!\n") << "Abc's doubtful entry on a.htm and on ru.htm";
    EXPECT_NE(page("ru.htm").find("<a href=\"../../patch/snes/abc.zip\">"), std::string::npos) << page("ru.htm");

    const auto again = cli(home_, pages());
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.out, "Записано страниц: 0, без изменений: 3\n");

    const auto changed = cli(home_, pages("--patch-path p/ --ext-patch-path e/ --image-path img/ --per-page 1"));
    EXPECT_EQ(changed.exitCode, 0) << errorText(home_);
    EXPECT_EQ(changed.out, "Записано страниц: 7, без изменений: 0\n") << "a1-3, b1-2, ru1-2";
    EXPECT_NE(page("ru.htm").find("<a href=\"p/abc.zip\">"), std::string::npos) << page("ru.htm");
    EXPECT_NE(page("a.htm").find("[Abc img/a/ "), std::string::npos) << page("a.htm");
    EXPECT_TRUE(fs::exists(site() / "a3.htm")) << "two games, one a page, one page more";
}

// A page of a letter group that is gone (its only game renamed) goes with
// it, but only a page the program made and nobody changed since.
TEST_F(CliPages, RemovesThePagesOfGroupsThatAreGone) {
    ASSERT_EQ(cli(home_, pages()).exitCode, 0) << errorText(home_);
    write(home_, "site/notes.htm", "my own page");
    ASSERT_EQ(cli(home_, "rename games 3 Cat").exitCode, 0) << errorText(home_);
    const auto renamed = cli(home_, pages());
    EXPECT_EQ(renamed.out, "Записано страниц: 1, без изменений: 2, удалено: 1\n");
    EXPECT_FALSE(fs::exists(site() / "b.htm"));
    EXPECT_TRUE(fs::exists(site() / "c.htm"));
    EXPECT_EQ(page("notes.htm"), "my own page");

    write(home_, "site/c.htm", "changed by hand");
    ASSERT_EQ(cli(home_, "rename games 3 Dog").exitCode, 0) << errorText(home_);
    EXPECT_EQ(cli(home_, pages()).out, "Записано страниц: 1, без изменений: 2\n");
    EXPECT_EQ(page("c.htm"), "changed by hand");
    EXPECT_TRUE(fs::exists(site() / "d.htm"));
}

// Folder names are the system's: one the page code page has no letters
// for is found all the same.
TEST_F(CliPages, AnOutputFolderNamedBeyondTheCodePage) {
    const fs::path cafe = home_.path() / u8"Café";
    fs::create_directories(cafe);
    const auto written = cli(home_, "pages games " + template_ + " '" + cafe.string() + "/'");
    EXPECT_EQ(written.exitCode, 0) << errorText(home_);
    EXPECT_TRUE(fs::exists(cafe / "a.htm"));
}

TEST_F(CliPages, RefusalsAndErrorsEndWithOne) {
    struct Case {
        std::string arguments;
        int exitCode;
        const char* error; // part of the standard error
    };
    const std::string noBlock = write(home_, "head.htd", "$B\r\n<html>\r\n");
    const Case cases[] = {
        {"pages games " + noBlock + " '" + site().string() + "'", 1, "Открой файл сначала!"},
        {pages("--per-page 0"), 2, "вызов:"},
        {pages("--per-page x"), 2, "вызов:"},
        {"pages games " + template_ + " '" + (home_.path() / "none").string() + "'", 1, "не найдена"},
        {"pages games '" + (home_.path() / "none.htd").string() + "' '" + site().string() + "'", 1, "none.htd"},
        {"pages nobase " + template_ + " '" + site().string() + "'", 1, ""},
        {"pages games " + template_, 2, "вызов:"},
        {pages("--per-page"), 2, "вызов:"},
        {pages("--colour red"), 2, "вызов:"},
    };
    for (const Case& c : cases) {
        const auto result = cli(home_, c.arguments);
        EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments;
        EXPECT_EQ(result.out, "") << c.arguments;
        EXPECT_NE(errorText(home_).find(c.error), std::string::npos) << c.arguments << ": " << errorText(home_);
    }
    EXPECT_TRUE(fs::is_empty(site()));
}

} // namespace
} // namespace gamarium
