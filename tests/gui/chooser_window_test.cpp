#include "gui_fixture.h"
#include "gui/pictures/chooser_window.h"
#include "gui/pictures/picture_loader.h"

#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

namespace fs = std::filesystem;

class ChooserTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        folder_ = home_ / "images" / "games" / "s";
        fs::create_directories(folder_);
    }

    void savePicture(const char* name, int width, int height, QColor colour) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString((folder_ / name).string())));
    }
    void touch(const char* name) { std::ofstream(folder_ / name) << "not a picture"; }

    // Opens the chooser on `folder` by `mask` and runs `step` in it; the
    // chooser is closed by its close box if the step left it open.
    std::optional<std::string> choose(const std::string& mask, const std::function<void()>& step,
                                      const fs::path& folder = {}) {
        bool ran = false;
        // The chooser lets pending events through while it reads a picture
        // that does not decode: the step waits until the chooser is up.
        std::function<void()> whenUp = [&] {
            if (!chooser()->isVisible()) {
                QTimer::singleShot(0, whenUp);
                return;
            }
            ran = true;
            step();
            if (chooser()->isVisible()) chooser()->close();
        };
        QTimer::singleShot(0, whenUp);
        const std::optional<text::StoredText> chosen = chooser()->choose(folder.empty() ? folder_ : folder, mask);
        EXPECT_TRUE(ran);
        return chosen ? std::optional<std::string>(chosen->bytes()) : std::nullopt;
    }

    TFopen* chooser() { return windows_->fopen(); }
    QListWidget* list() { return chooser()->findChild<QListWidget*>(QStringLiteral("ListBox1")); }
    QLabel* view() { return chooser()->findChild<QLabel*>(QStringLiteral("Image1")); }
    QPushButton* button(const char* name) { return chooser()->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QStringList listed() {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i) names << list()->item(i)->text();
        names.sort();
        return names;
    }

    fs::path folder_;
};

TEST_F(ChooserTest, SecondPassUsesTheFirstWordOfTheName) {
    savePicture("Super1.png", 40, 30, Qt::red);
    savePicture("Super2.jpg", 64, 48, Qt::blue);
    touch("Other.png");
    fs::create_directory(folder_ / "Super_folder");
    choose("Super_Mario_Bros*.*", [&] {
        EXPECT_EQ(listed(), (QStringList{QStringLiteral("Super1.png"), QStringLiteral("Super2.jpg")}));
        EXPECT_TRUE(list()->selectedItems().isEmpty());
        // The first entry is previewed at its own size.
        const QSize first = list()->item(0)->text() == QStringLiteral("Super1.png") ? QSize(40, 30) : QSize(64, 48);
        EXPECT_EQ(view()->size(), first);
    });
    choose("zzz*.*", [&] { EXPECT_TRUE(listed().isEmpty()) << "a mask without an underscore finds nothing new"; });
}

TEST_F(ChooserTest, FolderIsScannedOncePerOpeningNotOnRestore) {
    savePicture("a.png", 10, 10, Qt::red);
    choose("*.*", [&] {
        savePicture("b.png", 10, 10, Qt::blue);
        chooser()->showMinimized();
        chooser()->showNormal();
        EXPECT_EQ(listed(), QStringList{QStringLiteral("a.png")});
    });
    choose("*.*", [&] { EXPECT_EQ(listed(), (QStringList{QStringLiteral("a.png"), QStringLiteral("b.png")})); });
}

TEST_F(ChooserTest, EmptyOrMissingFolderShowsNoImageGifOrKeepsThePicture) {
    savePicture("shown.png", 30, 20, Qt::green);
    choose("shown*.*", [&] { EXPECT_EQ(view()->size(), QSize(30, 20)); });
    // A missing folder: nothing listed, the picture before stays.
    choose("*.*", [&] {
        EXPECT_TRUE(listed().isEmpty());
        EXPECT_EQ(view()->size(), QSize(30, 20));
    }, folder_ / "missing");
    fs::remove(folder_ / "shown.png");
    touch("no_image.gif");
    choose("shown*.*", [&] {
        EXPECT_TRUE(listed().isEmpty());
        EXPECT_EQ(view()->size(), QSize(0, 0)) << "gif is not a picture format of the program";
    });
}

TEST_F(ChooserTest, ClickThenOkGivesTheBareName) {
    savePicture("one.png", 12, 8, Qt::red);
    savePicture("two.png", 16, 6, Qt::blue);
    const std::optional<std::string> chosen = choose("*.*", [&] {
        QListWidgetItem* item = list()->findItems(QStringLiteral("two.png"), Qt::MatchExactly).front();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
        EXPECT_EQ(view()->size(), QSize(16, 6));
        click(button("Button2"));
    });
    EXPECT_EQ(chosen, "two.png");
    const std::optional<std::string> doubled = choose("*.*", [&] {
        QListWidgetItem* item = list()->findItems(QStringLiteral("one.png"), Qt::MatchExactly).front();
        const QPoint at = list()->visualItemRect(item).center();
        QTest::mousePress(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(list()->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, at);
    });
    EXPECT_EQ(doubled, "one.png");
}

// OK with entries but none selected keeps the chooser open; OK on an empty
// list, Cancel, Esc and the close box give nothing.
TEST_F(ChooserTest, OnlyOkOnAnEntryGivesAName) {
    savePicture("one.png", 12, 8, Qt::red);
    const std::optional<std::string> cancelled = choose("*.*", [&] {
        click(button("Button2"));
        EXPECT_TRUE(chooser()->isVisible());
        EXPECT_TRUE(MessageBox::shownTexts().isEmpty());
        list()->setCurrentRow(0);
        click(button("Button3"));
    });
    EXPECT_EQ(cancelled, std::nullopt);
    EXPECT_EQ(choose("*.*", [&] { list()->setCurrentRow(0); }), std::nullopt) << "the close box";
    EXPECT_EQ(choose("none*.*", [&] { click(button("Button2")); }), std::nullopt) << "OK on an empty list";
}

// Enter presses the focused button, and the default one (OK) from the list.
TEST_F(ChooserTest, KeysPressTheFocusedButton) {
    struct Press {
        const char* control;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::optional<std::string> choice;
    };
    const Press presses[] = {
        {"Button3", Qt::Key_Return, {}, std::nullopt},
        {"Button3", Qt::Key_Enter, Qt::KeypadModifier, std::nullopt},
        {"Button3", Qt::Key_Space, {}, std::nullopt},
        {"Button2", Qt::Key_Return, {}, "one.png"},
        {"Button2", Qt::Key_Enter, Qt::KeypadModifier, "one.png"},
        {"ListBox1", Qt::Key_Return, {}, "one.png"},
        {"ListBox1", Qt::Key_Escape, {}, std::nullopt},
    };
    savePicture("one.png", 12, 8, Qt::red);
    for (const Press& press : presses) {
        bool closed = false;
        const std::optional<std::string> chosen = choose("*.*", [&] {
            list()->setCurrentRow(0);
            QWidget* control = chooser()->findChild<QWidget*>(QString::fromLatin1(press.control));
            focus(control);
            QTest::keyClick(control, press.key, press.modifiers);
            closed = !chooser()->isVisible();
        });
        EXPECT_TRUE(closed) << press.control << " key " << press.key;
        EXPECT_EQ(chosen, press.choice) << press.control << " key " << press.key;
    }
}

TEST_F(ChooserTest, JpegIsShownAs24BitPictureOfItsSize) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x) image.setPixelColor(x, y, QColor(30, 30, 200));
    ASSERT_TRUE(image.save(QString::fromStdString((folder_ / "shot.JPG").string()), "JPG", 95));
    EXPECT_TRUE(picl(folder_, "shot.JPG"_stored, view()));
    EXPECT_EQ(view()->size(), QSize(64, 48));
    const QImage shown = view()->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(64, 48));
    EXPECT_NEAR(shown.pixelColor(8, 8).red(), 200, 12);
    EXPECT_NEAR(shown.pixelColor(56, 8).blue(), 200, 12);
}

TEST_F(ChooserTest, PiclTellsWhetherTheFileIsThere) {
    savePicture("a.png", 5, 5, Qt::red);
    QLabel preview;
    EXPECT_TRUE(picl(folder_, "a.png"_stored, &preview));
    EXPECT_EQ(preview.size(), QSize(5, 5));
    EXPECT_FALSE(picl(folder_, ""_stored, &preview));
    EXPECT_FALSE(picl(folder_, "gone.png"_stored, &preview));
    EXPECT_EQ(preview.size(), QSize(5, 5)) << "a missing file keeps the picture";
    touch("broken.png");
    EXPECT_TRUE(picl(folder_, "BROKEN.PNG"_stored, &preview)) << "found whatever the letter case, fails to decode";
    EXPECT_EQ(preview.size(), QSize(0, 0));
}

} // namespace
} // namespace gamarium::gui::testing
