#include "core/support/cli_runner.h"
#include "core/support/png_header.h"
#include "core/text/cp1251.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace gamarium {
namespace {

using gamarium::testing::cli;
using gamarium::testing::errorText;
using gamarium::testing::TempFolder;
using gamarium::testing::write;
namespace fs = std::filesystem;

// Games whose pictures are there, missing or not named, so that the size
// a page shows first may come from a game on an earlier page.
class CliPreview : public ::testing::Test {
protected:
    void SetUp() override {
        gamarium::testing::makeGamesBase(home_,
                                         "N,Sid,Name,Image1,Patch\r\n1,a,A1,a1.png,\r\n2,a,A2,gone.png,\r\n"
                                         "3,a,A3,,1\r\n4,a,A4,a4.png,\r\n5,a,A5,,\r\n6,b,B1,,\r\n7,b,B2,b 2.png,\r\n",
                                         "N,Patch,Text\r\n1,a3.zip,ur\r\n");
        picture("a", "a1.png", 100, 50);
        picture("a", "a4.png", 300, 200);
        picture("b", "b 2.png", 640, 480);
        fs::create_directories(site());
        template_ = write(home_, "t.htd", "$B\r\n<$LETTER $PAGES>\r\n$B\r\n[$Name $Image $Width x $Height]\r\n$B\r\n</>\r\n");
    }

    void picture(const std::string& sid, const std::string& name, std::uint32_t width, std::uint32_t height) {
        fs::create_directories(pictures() / sid);
        std::ofstream(pictures() / sid / name, std::ios::binary) << gamarium::testing::pngHeader(width, height);
    }

    fs::path site() const { return home_.path() / "site"; }
    fs::path pictures() const { return home_.path() / "images" / "games"; }
    std::string preview(const std::string& position, const std::string& options = "") {
        return "preview games " + position + " " + template_ + " '" + (home_.path() / "preview.htm").string() + "' " +
               options;
    }
    std::string previewed() const { return files::readFile(home_.path() / "preview.htm"); }

    TempFolder home_;
    std::string template_;
};

TEST_F(CliPreview, WritesThePageOfTheGameAsPagesWritesIt) {
    ASSERT_EQ(cli(home_, "pages games " + template_ + " '" + site().string() + "' --per-page 2").exitCode, 0);
    const char* pageOf[] = {"a.htm", "a.htm", "a2.htm", "a2.htm", "a3.htm", "b.htm", "b.htm"};
    for (int position = 1; position <= 7; ++position) {
        const auto run = cli(home_, preview(std::to_string(position), "--per-page 2 --image-path i/"));
        ASSERT_EQ(run.exitCode, 0) << errorText(home_);
        EXPECT_EQ(previewed(), files::readFile(site() / pageOf[position - 1])) << "game " << position;
    }
    EXPECT_NE(previewed().find("[B1 i/b/ 300 x 200]"), std::string::npos) << "A4's size stands for B1: " << previewed();
}

TEST_F(CliPreview, WithoutAnImagePathThePicturesAreTheFilesThemselves) {
    ASSERT_EQ(cli(home_, preview("7")).exitCode, 0) << errorText(home_);
    const std::string url = "file://" + std::regex_replace(fs::absolute(pictures()).generic_string(), std::regex(" "), "%20");
    EXPECT_NE(previewed().find("[B2 " + url + "/b/b%202.png 320 x 240]"), std::string::npos) << previewed();
}

TEST_F(CliPreview, RefusesWhatPagesRefusesAndAPlaceWithoutAGame) {
    const std::string noBlock = write(home_, "none.htd", "$B\r\nhead\r\n");
    struct Case {
        std::string command;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {preview("8"), 1, "нет игры на месте «8»"},
        {preview("x"), 1, "нет игры на месте «x»"},
        {"preview games 1 " + noBlock + " '" + (home_.path() / "preview.htm").string() + "'", 1, "Открой файл сначала!"},
        {preview("1", "--per-page 0"), 2, "--per-page: значение «0» не подходит"},
        {"preview games 1 " + template_, 2, "preview: дано слов 3, нужно 4"},
        {preview("1", "--per-pages 2"), 2, "у команды preview нет ключа «--per-pages»"},
    };
    for (const Case& c : cases) {
        const auto run = cli(home_, c.command);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.command;
        EXPECT_NE(errorText(home_).find(c.message), std::string::npos) << c.command << ": " << errorText(home_);
        EXPECT_FALSE(fs::exists(home_.path() / "preview.htm")) << c.command;
    }
}

// A preview is a throw-away page: it never takes the place of a table, a
// picture, a cache, its own template or a file the user keeps.
TEST_F(CliPreview, NeverWritesOverWhatTheUserKeeps) {
    write(home_, "notes.htm", "my own notes");
    const fs::path kept = home_.path() / "notes.htm";
    const fs::path picture = pictures() / "a" / "a1.png";
    const fs::path sizes = home_.path() / "cache" / "games.sizes";
    ASSERT_EQ(cli(home_, preview("1")).exitCode, 0) << errorText(home_);
    ASSERT_TRUE(fs::exists(sizes));
    struct Case {
        fs::path target;
        std::string options;
        const char* message;
    };
    const Case cases[] = {
        {home_.path() / "base" / "games.db", "", "где программа хранит таблицы баз"},
        {home_.path() / "images" / ".." / "base" / "games_patch.db", "--force", "где программа хранит таблицы баз"},
        {picture, "--force", "где программа хранит картинки"},
        {sizes, "", "где программа хранит кэш"},
        {home_.path() / "t.htd", "--force", "поверх своего шаблона"},
        {kept, "", "уже есть, и это не прежний предпросмотр"},
    };
    for (const Case& c : cases) {
        const std::string before = files::readFile(c.target);
        const auto run = cli(home_, "preview games 1 " + template_ + " '" + c.target.string() + "' " + c.options);
        EXPECT_EQ(run.exitCode, 1) << c.target;
        EXPECT_NE(errorText(home_).find(c.message), std::string::npos) << c.target << ": " << errorText(home_);
        EXPECT_EQ(files::readFile(c.target), before) << c.target;
    }
    EXPECT_EQ(cli(home_, "export games").exitCode, 0) << "the table is still a table: " << errorText(home_);

    // A preview written before is replaced; once changed by hand it is the
    // user's, until the user says otherwise.
    ASSERT_EQ(cli(home_, preview("7")).exitCode, 0) << errorText(home_);
    write(home_, "preview.htm", "edited by hand");
    EXPECT_EQ(cli(home_, preview("1")).exitCode, 1);
    EXPECT_EQ(previewed(), "edited by hand");
    EXPECT_EQ(cli(home_, preview("1", "--force")).exitCode, 0) << errorText(home_);
    EXPECT_NE(previewed(), "edited by hand");
}

// The map lists every page under the site's address with its file's own
// date: pages a run left alone keep theirs.
TEST_F(CliPreview, SitemapListsEveryPageWithItsOwnDate) {
    const std::string pages = "pages games " + template_ + " '" + site().string() + "' --per-page 2 ";
    ASSERT_EQ(cli(home_, pages + "--site-url https://example.org/snes").exitCode, 0) << errorText(home_);
    const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
    for (const auto& entry : fs::directory_iterator(site()))
        fs::last_write_time(entry.path(), longAgo);
    ASSERT_EQ(cli(home_, "import games " + write(home_, "more.csv", "N,Sid,Name\r\n8,b,B3\r\n")).exitCode, 0);
    ASSERT_EQ(cli(home_, pages + "--site-url https://example.org/snes/").exitCode, 0) << errorText(home_);

    const std::string map = files::readFile(site() / "sitemap.xml");
    EXPECT_TRUE(map.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                "<urlset xmlns=\"http://www.sitemaps.org/schemas/sitemap/0.9\">\n<url><loc>"))
        << map;
    EXPECT_TRUE(map.ends_with("</url>\n</urlset>\n")) << map;
    const std::regex entry("<url><loc>https://example\\.org/snes/([a-z0-9]+\\.htm)</loc><lastmod>"
                           "(\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d\\+00:00)</lastmod></url>\n");
    std::map<std::string, std::string> dates;
    for (std::sregex_iterator it(map.begin(), map.end(), entry), end; it != end; ++it)
        dates[(*it)[1]] = (*it)[2];
    const std::string old = dates["a.htm"];
    EXPECT_EQ(dates, (std::map<std::string, std::string>{{"a.htm", old}, {"a2.htm", old}, {"a3.htm", old},
                                                         {"b.htm", old}, {"b2.htm", dates["b2.htm"]}, {"ru.htm", old}}))
        << map;
    EXPECT_LT(old, dates["b2.htm"]) << "only b2.htm, which now shows B3, changed";

    const auto refused = cli(home_, pages + "--site-url example.org");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(errorText(home_).find("http://"), std::string::npos);
}

} // namespace
} // namespace gamarium
