#include "core/pictures/decoder.h"
#include "core/support/run_command.h"
#include "editor_fixture.h"
#include "gui/widgets/browser.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/message_box.h"

#include <QAction>
#include <QImage>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

class EditorPreview : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Browser::clear();
        MessageBox::clearShownTexts();
        addGames({{"Alpha", "a", "alpha.png"}, {"Beta", "b", "beta.png"}});
        savePicture("a", "alpha.png", QColor(255, 0, 0));
        savePicture("b", "beta.png", QColor(0x12, 0xC8, 0x3A));
        // The site's own picture, named by the template itself.
        fs::create_directories(home_ / "site");
        QImage flag(100, 300, QImage::Format_RGB32);
        flag.fill(QColor(0x20, 0x40, 0xD0));
        ASSERT_TRUE(flag.save(QString::fromStdString((home_ / "site" / "e.png").string())));
        std::ofstream(template_, std::ios::binary)
            << "$B\r\n<html><head><title>t</title></head><body style=\"margin:0\">\r\n$B\r\n"
               "<img src=\"e.png\"><img src=\"$Image\" width=\"400\" height=\"300\"><p>$Name</p>\r\n$B\r\n</body></html>\r\n";
        open();
    }

    void preview() { editor()->findChild<QAction*>(QStringLiteral("PreviewAction"))->trigger(); }
    std::string opener() const { return files::readFile(Browser::openedUrls().last().toLocalFile().toStdString()); }
    fs::path page() const { return home_ / "cache" / "preview" / "games.htm"; }

    fs::path template_ = home_ / "site.htd";
};

// The page is the one of the game the editor shows, after what was typed
// is saved, in the program folder rather than a place other users share;
// the browser is sent to the game on it, and the site's own pictures come
// from the site's folder. The template is asked for once, saying why, then
// remembered for the base.
TEST_F(EditorPreview, ShowsTheCurrentGamesPageInTheBrowser) {
    press(NavigatorBar::Button::Next);
    FileDialog::clear();
    FileDialog::queueAnswer(QString::fromStdString(template_.string()));
    preview();
    ASSERT_EQ(MessageBox::shownTexts().size(), 1);
    EXPECT_TRUE(MessageBox::shownTexts()[0].contains(QStringLiteral("шаблона страницы для просмотра нет")));
    ASSERT_EQ(Browser::openedUrls().size(), 1);
    EXPECT_NE(opener().find("url=games.htm#gamarium-game"), std::string::npos) << opener();
    const std::string shown = files::readFile(page());
    EXPECT_NE(shown.find("<head><base href=\"file://" + fs::absolute(home_ / "site").string() + "/\"><title>"),
              std::string::npos)
        << shown;
    EXPECT_NE(shown.find("<a id=\"gamarium-game\"></a><img src=\"e.png\"><img src=\"file://"), std::string::npos) << shown;
    EXPECT_NE(shown.find("b/beta.png\" width=\"400\" height=\"300\"><p>Beta</p>"), std::string::npos) << shown;

    press(NavigatorBar::Button::Prior);
    preview();
    EXPECT_EQ(FileDialog::shownRequests().size(), 1) << "the template is remembered";
    ASSERT_EQ(Browser::openedUrls().size(), 2);
    const std::string first = files::readFile(page());
    EXPECT_LT(first.find("gamarium-game"), first.find("<p>Alpha</p>"));
    EXPECT_GT(first.find("<p>Beta</p>"), first.find("<p>Alpha</p>"));
    EXPECT_EQ(MessageBox::shownTexts().size(), 1);
}

// A browser that cannot be started is said, with the page's file.
TEST_F(EditorPreview, SaysWhereThePageIsWhenNoBrowserOpensIt) {
    FileDialog::queueAnswer(QString::fromStdString(template_.string()));
    Browser::setTestFailure(QStringLiteral("xdg-open не открыл страницу (код 3)."));
    preview();
    ASSERT_FALSE(MessageBox::shownTexts().isEmpty());
    const QString said = MessageBox::shownTexts().last();
    EXPECT_TRUE(said.contains(QStringLiteral("код 3"))) << said.toStdString();
    EXPECT_TRUE(said.contains(QString::fromStdString(page().string()))) << said.toStdString();
}

// A real browser draws the page with the game's picture from the disk and
// the site's own picture from the site's folder.
TEST_F(EditorPreview, ChromiumDrawsThePictures) {
    if (!fs::exists("/usr/bin/chromium"))
        GTEST_SKIP() << "Chromium is not installed (Debian package chromium)";
    press(NavigatorBar::Button::Next);
    FileDialog::queueAnswer(QString::fromStdString(template_.string()));
    preview();
    ASSERT_EQ(Browser::openedUrls().size(), 1);
    const fs::path shot = home_ / "shot.png";
    const fs::path profile = home_ / "chromium-profile";
    const auto run = gamarium::testing::runCommand(
        "/usr/bin/chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run"
        " --disable-background-networking --disable-component-update --disable-sync --user-data-dir='" +
        profile.string() + "' --window-size=640,480 --screenshot='" + shot.string() + "' '" +
        QUrl::fromLocalFile(QString::fromStdString(page().string())).toString().toStdString() + "' 2>&1");
    ASSERT_TRUE(fs::exists(shot)) << run.out;
    const pictures::Picture picture = pictures::decodePicture(shot);
    ASSERT_FALSE(picture.empty());
    int green = 0, blue = 0;
    for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3) {
        if (picture.rgb[i] == 0x12 && picture.rgb[i + 1] == 0xC8 && picture.rgb[i + 2] == 0x3A) ++green;
        if (picture.rgb[i] == 0x20 && picture.rgb[i + 1] == 0x40 && picture.rgb[i + 2] == 0xD0) ++blue;
    }
    EXPECT_GT(green, 400 * 300 / 2) << "Beta's picture, drawn 400 x 300";
    EXPECT_GT(blue, 100 * 300 / 2) << "the site's flag, from the site's folder";
}

} // namespace
} // namespace gamarium::gui::testing
