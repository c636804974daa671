#include "app/main_window.h"
#include "editor/editor_window.h"
#include "gui_fixture.h"
#include "pictures/chooser_window.h"
#include "pictures/picture_loader.h"

#include <QFrame>
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
        // The folder as the editor writes it: a program text ending in a backslash.
        windows_->form1()->picfolder = folder_;
    }

    void savePicture(const char* name, int width, int height, QColor colour) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString((folder_ / name).string())));
    }
    void touch(const char* name) { std::ofstream(folder_ / name) << "not a picture"; }

    TFopen* chooser() { return windows_->fopen(); }
    QListWidget* list() { return chooser()->findChild<QListWidget*>(QStringLiteral("ListBox1")); }
    QLabel* view() { return chooser()->findChild<QLabel*>(QStringLiteral("Image1")); }
    QStringList listed() {
        QStringList names;
        for (int i = 0; i < list()->count(); ++i) names << list()->item(i)->text();
        names.sort();
        return names;
    }
    std::string& picmask() { return windows_->form1()->picmask; }
    std::string& picchoice() { return windows_->form1()->picchoice; }
    QFrame* editorPanel() { return windows_->form2()->previewPanel(); }

    fs::path folder_;
};

TEST_F(ChooserTest, SecondPassUsesTheFirstWordOfTheName) {
    savePicture("Super1.png", 40, 30, Qt::red);
    savePicture("Super2.jpg", 64, 48, Qt::blue);
    touch("Other.png");
    fs::create_directory(folder_ / "Super_folder");
    picmask() = "Super_Mario_Bros*.*";
    chooser()->scanfolder();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("Super1.png"), QStringLiteral("Super2.jpg")}));
    EXPECT_EQ(picmask(), "Super*.*");
    EXPECT_TRUE(list()->selectedItems().isEmpty());
    // The first entry is previewed at its own size.
    const QSize first = list()->item(0)->text() == QStringLiteral("Super1.png") ? QSize(40, 30) : QSize(64, 48);
    EXPECT_EQ(view()->size(), first);
}

TEST_F(ChooserTest, MaskWithoutUnderscoreListsNothingNew) {
    savePicture("a.png", 10, 10, Qt::red);
    picmask() = "zzz*.*";
    chooser()->scanfolder();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(picmask(), "zzz*.**.*"); // the fallback appends "*.*" to the whole mask
    // Nothing listed: "no_image.gif" is looked for, and is no picture here.
    EXPECT_FALSE(editorPanel()->isVisibleTo(windows_->form2()));
}

TEST_F(ChooserTest, FolderIsScannedOncePerOpeningNotOnRestore) {
    savePicture("a.png", 10, 10, Qt::red);
    picmask() = "zzz*.*"; // each scan appends "*.*": it counts the scans
    for (const char* mask : {"zzz*.**.*", "zzz*.**.**.*"}) {
        std::string restored;
        whenModal([&] {
            chooser()->showMinimized();
            chooser()->showNormal();
            restored = picmask();
            chooser()->reject();
        });
        chooser()->exec();
        EXPECT_EQ(restored, mask);
        EXPECT_EQ(picmask(), mask);
    }
}

TEST_F(ChooserTest, EmptyFolderShowsNoImageGifAsAnEmptyView) {
    savePicture("shown.png", 30, 20, Qt::green);
    picmask() = "shown*.*";
    chooser()->scanfolder();
    ASSERT_EQ(view()->size(), QSize(30, 20));
    fs::remove(folder_ / "shown.png");
    touch("no_image.gif");
    chooser()->scanfolder();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(view()->size(), QSize(0, 0)); // gif is not a picture format of the program
    EXPECT_TRUE(editorPanel()->isVisibleTo(windows_->form2()));
}

TEST_F(ChooserTest, MissingFolderKeepsThePreviousPicture) {
    savePicture("kept.png", 25, 15, Qt::green);
    picmask() = "*.*";
    chooser()->scanfolder();
    windows_->form1()->picfolder = folder_ / "missing";
    chooser()->scanfolder();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_EQ(view()->size(), QSize(25, 15));
    EXPECT_FALSE(editorPanel()->isVisibleTo(windows_->form2()));
}

TEST_F(ChooserTest, ClickThenOkReturnsTheBareName) {
    savePicture("one.png", 12, 8, Qt::red);
    savePicture("two.png", 16, 6, Qt::blue);
    picmask() = "*.*";
    QString chosen;
    whenModal([&] {
        QListWidgetItem* item = list()->findItems(QStringLiteral("two.png"), Qt::MatchExactly).front();
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(item).center());
        EXPECT_EQ(view()->size(), QSize(16, 6));
        click(chooser()->findChild<QPushButton*>(QStringLiteral("Button2")));
    });
    EXPECT_EQ(chooser()->exec(), QDialog::Accepted);
    EXPECT_EQ(picchoice(), "two.png");
}

TEST_F(ChooserTest, OkWithNothingSelectedDoesNothing) {
    savePicture("one.png", 12, 8, Qt::red);
    picmask() = "*.*";
    picchoice() = "earlier.png";
    chooser()->show();
    chooser()->Button2Click();
    EXPECT_TRUE(chooser()->isVisible());
    EXPECT_EQ(picchoice(), "earlier.png");
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty());
    chooser()->Button3Click();
    EXPECT_FALSE(chooser()->isVisible());
    EXPECT_EQ(picchoice(), "");
}

// Enter presses the focused button, and the default one (OK) from the list.
TEST_F(ChooserTest, KeysPressTheFocusedButton) {
    struct Press {
        const char* control;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int result;
        std::string choice;
    };
    const Press presses[] = {
        {"Button3", Qt::Key_Return, {}, QDialog::Rejected, ""},
        {"Button3", Qt::Key_Enter, Qt::KeypadModifier, QDialog::Rejected, ""},
        {"Button3", Qt::Key_Space, {}, QDialog::Rejected, ""},
        {"Button2", Qt::Key_Return, {}, QDialog::Accepted, "one.png"},
        {"Button2", Qt::Key_Enter, Qt::KeypadModifier, QDialog::Accepted, "one.png"},
        {"ListBox1", Qt::Key_Return, {}, QDialog::Accepted, "one.png"},
        {"ListBox1", Qt::Key_Escape, {}, QDialog::Rejected, "earlier.png"},
    };
    savePicture("one.png", 12, 8, Qt::red);
    picmask() = "*.*";
    for (const Press& press : presses) {
        picchoice() = "earlier.png";
        whenModal([&] {
            list()->setCurrentRow(0);
            QWidget* control = chooser()->findChild<QWidget*>(QString::fromLatin1(press.control));
            focus(control);
            QTest::keyClick(control, press.key, press.modifiers);
            if (chooser()->isVisible()) chooser()->done(-1); // no button pressed
        });
        EXPECT_EQ(chooser()->exec(), press.result) << press.control << " key " << press.key;
        EXPECT_EQ(picchoice(), press.choice) << press.control << " key " << press.key;
    }
}

TEST_F(ChooserTest, OkOnAnEmptyListKeepsTheEarlierChoice) {
    picmask() = "*.*";
    picchoice() = "earlier.png";
    chooser()->show();
    chooser()->Button2Click();
    EXPECT_FALSE(chooser()->isVisible());
    EXPECT_EQ(picchoice(), "earlier.png");
}

TEST_F(ChooserTest, JpegIsShownAs24BitPictureOfItsSize) {
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(QColor(200, 30, 30));
    for (int y = 0; y < 48; ++y)
        for (int x = 32; x < 64; ++x) image.setPixelColor(x, y, QColor(30, 30, 200));
    ASSERT_TRUE(image.save(QString::fromStdString((folder_ / "shot.JPG").string()), "JPG", 95));
    picl(*windows_, "shot.JPG", view());
    EXPECT_EQ(view()->size(), QSize(64, 48));
    const QImage shown = view()->pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(64, 48));
    EXPECT_NEAR(shown.pixelColor(8, 8).red(), 200, 12);
    EXPECT_NEAR(shown.pixelColor(56, 8).blue(), 200, 12);
}

TEST_F(ChooserTest, PiclShowsAndHidesTheEditorPreview) {
    savePicture("a.png", 5, 5, Qt::red);
    QLabel* preview = windows_->form2()->previewView();
    picl(*windows_, "a.png", preview);
    EXPECT_TRUE(editorPanel()->isVisibleTo(windows_->form2()));
    EXPECT_EQ(preview->size(), QSize(5, 5));
    picl(*windows_, "", preview);
    EXPECT_FALSE(editorPanel()->isVisibleTo(windows_->form2()));
    EXPECT_EQ(preview->size(), QSize(5, 5)); // a missing file keeps the picture
    touch("broken.png");
    picl(*windows_, "BROKEN.PNG", preview); // found whatever the letter case, fails to decode
    EXPECT_TRUE(editorPanel()->isVisibleTo(windows_->form2()));
    EXPECT_EQ(preview->size(), QSize(0, 0));
}

} // namespace
} // namespace gamarium::gui::testing
