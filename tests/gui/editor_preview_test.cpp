#include "core/pictures/decoder.h"
#include "core/support/run_command.h"
#include "editor_fixture.h"
#include "gui/widgets/browser.h"
#include "gui/widgets/file_dialog.h"

#include <QAction>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

class EditorPreview : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Browser::clear();
        addGames({{"Alpha", "a", "alpha.png"}, {"Beta", "b", "beta.png"}});
        savePicture("a", "alpha.png", QColor(255, 0, 0));
        savePicture("b", "beta.png", QColor(0x12, 0xC8, 0x3A));
        std::ofstream(template_, std::ios::binary)
            << "$B\r\n<html><body style=\"margin:0\">\r\n$B\r\n<img src=\"$Image\" width=\"400\" height=\"300\">"
               "<p>$Name</p>\r\n$B\r\n</body></html>\r\n";
        open();
    }

    void preview() { editor()->findChild<QAction*>(QStringLiteral("PreviewAction"))->trigger(); }
    fs::path shownFile() const { return fs::path(Browser::openedUrls().last().toLocalFile().toStdString()); }

    fs::path template_ = home_ / "site.htd";
};

// The page is the one of the game the editor shows, after what was typed
// is saved; the template is asked for once, then remembered for the base.
TEST_F(EditorPreview, ShowsTheCurrentGamesPageInTheBrowser) {
    press(NavigatorBar::Button::Next);
    FileDialog::clear();
    FileDialog::queueAnswer(QString::fromStdString(template_.string()));
    preview();
    ASSERT_EQ(Browser::openedUrls().size(), 1);
    const std::string page = files::readFile(shownFile());
    EXPECT_NE(page.find("b/beta.png\" width=\"400\" height=\"300\"><p>Beta</p>"), std::string::npos) << page;
    EXPECT_NE(page.find("src=\"file://"), std::string::npos) << page;

    press(NavigatorBar::Button::Prior);
    preview();
    EXPECT_EQ(FileDialog::shownRequests().size(), 1) << "the template is remembered";
    ASSERT_EQ(Browser::openedUrls().size(), 2);
    EXPECT_NE(files::readFile(shownFile()).find("<p>Alpha</p>"), std::string::npos);
}

// A real browser draws the page with the game's picture from the disk.
TEST_F(EditorPreview, ChromiumDrawsThePicture) {
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
        Browser::openedUrls().last().toString().toStdString() + "' 2>&1");
    ASSERT_TRUE(fs::exists(shot)) << run.out;
    const pictures::Picture picture = pictures::decodePicture(shot);
    ASSERT_FALSE(picture.empty());
    int green = 0;
    for (std::size_t i = 0; i + 2 < picture.rgb.size(); i += 3)
        if (picture.rgb[i] == 0x12 && picture.rgb[i + 1] == 0xC8 && picture.rgb[i + 2] == 0x3A)
            ++green;
    EXPECT_GT(green, 400 * 300 / 2) << "Beta's picture, drawn 400 x 300";
}

} // namespace
} // namespace gamarium::gui::testing
