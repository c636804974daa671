#include "app/main_window.h"
#include "editor/editor_window.h"
#include "editor_fixture.h"
#include "patches/patch_window.h"
#include "pictures/chooser_window.h"
#include "store/catalogue.h"
#include "store/table.h"
#include "widgets/navigator_bar.h"

#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

namespace gamarium::gui::testing {
namespace {

TEST_F(EditorTest, OpensOnTheFirstGameAndHidesTheMainWindowUntilClosed) {
    addGames({{"Contra", "c", "contra.png"}, {"Mario", "m", ""}});
    savePicture("c", "contra.png", Qt::red);
    windows_->form1()->show();
    combo()->setEditText(QStringLiteral("GAMES")); // tables by the lower-cased name, pictures as typed
    bool checked = false;
    whenModal([&] {
        checked = true;
        EXPECT_FALSE(windows_->form1()->isVisible());
        EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Contra"));
        EXPECT_EQ(windows_->form1()->picmask, "*.*");
        editor()->close();
    });
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("Button1")));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(windows_->form1()->isVisible());
    EXPECT_FALSE(games().isOpen());
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << MessageBox::shownTexts().join(QStringLiteral("|")).toStdString();
}

TEST_F(EditorTest, ABaseThatCannotBeOpenedLeavesTheMainWindowAsItWas) {
    store::Table held(store::basesFolder(home_), "games_patch.db");
    held.open(); // as another copy of the program would
    windows_->form1()->show();
    combo()->setEditText(QStringLiteral("Games"));
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("Button1")));
    ASSERT_EQ(MessageBox::shownTexts().size(), 1);
    EXPECT_TRUE(MessageBox::shownTexts().front().contains(QStringLiteral("другой копией")));
    EXPECT_TRUE(windows_->form1()->isVisible());
    EXPECT_FALSE(editor()->isVisible());
    EXPECT_FALSE(games().isOpen());
}

TEST_F(EditorTest, NavigationRefreshesThePreviewAndTheColours) {
    addGames({{"Contra", "c", "contra.png"}, {"Empty", "e", ""}, {"Missing", "c", "gone.png"}, {"Mario", "m", "m.png"}});
    savePicture("c", "contra.png", Qt::red);
    savePicture("m", "m.png", Qt::blue);
    open();
    ASSERT_TRUE(previewShown());
    EXPECT_EQ(previewColour(), QColor(Qt::red).rgb());
    edit("EditName")->setFocus();
    editor()->EditNExit(edit("EditRegion"));
    struct Step {
        NavigatorBar::Button button;
        const char* name;
        bool shown;
        QRgb colour;
    };
    const Step steps[] = {
        {NavigatorBar::Button::Next, "Empty", false, QColor(Qt::red).rgb()},   // empty Image1 hides
        {NavigatorBar::Button::Next, "Missing", false, QColor(Qt::red).rgb()}, // a missing file changes nothing
        {NavigatorBar::Button::Last, "Mario", true, QColor(Qt::blue).rgb()},
        {NavigatorBar::Button::First, "Contra", true, QColor(Qt::red).rgb()},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        press(step.button);
        EXPECT_EQ(edit("EditName")->text(), QString::fromLatin1(step.name));
        EXPECT_EQ(previewShown(), step.shown);
        EXPECT_EQ(previewColour(), step.colour);
        EXPECT_EQ(colourOf("EditRegion"), fresh());
    }
    EXPECT_EQ(colourOf("EditN"), visited());
    EXPECT_EQ(colourOf("EditName"), highlight()) << "the focused field keeps its highlight";
    EXPECT_FALSE(navigator()->button(NavigatorBar::Button::Prior)->isEnabled());
}

TEST_F(EditorTest, TypingChangesTheRecordAndARefusedSaveKeepsTheTyping) {
    addGames({{"Contra", "c", ""}, {"Mario", "m", ""}});
    open();
    edit("EditName")->setFocus();
    edit("EditName")->selectAll();
    QTest::keyClicks(edit("EditName"), QStringLiteral("Contra Force"));
    EXPECT_EQ(games().state(), store::TableState::Edit);
    press(NavigatorBar::Button::Next);
    press(NavigatorBar::Button::Prior);
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Contra Force"));
    EXPECT_EQ(field("Name"), "Contra Force");

    // A text field takes no more than its size.
    edit("EditSid")->selectAll();
    QTest::keyClicks(edit("EditSid"), QStringLiteral("abcdef"));
    EXPECT_EQ(edit("EditSid")->text(), QStringLiteral("abc"));

    QTest::keyClicks(edit("EditYear"), QStringLiteral("19x1"));
    press(NavigatorBar::Button::Post);
    ASSERT_EQ(MessageBox::shownTexts().size(), 1);
    EXPECT_EQ(MessageBox::shownTexts().front(), QStringLiteral("'19x1' is not a valid integer value for field 'Year'"));
    EXPECT_EQ(edit("EditYear")->text(), QStringLiteral("19x1"));
    EXPECT_EQ(edit("EditSid")->text(), QStringLiteral("abc"));
    EXPECT_EQ(games().state(), store::TableState::Edit);
}

TEST_F(EditorTest, OkAddsTheNextGameAfterTheLast) {
    struct Case {
        std::vector<Game> games;
        const char* n;
        const char* sid;
        int count;
    };
    const Case cases[] = {{{{"A", "a", ""}, {"Z", "z", ""}}, "3", "z", 3}, {{}, "1", "", 2}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.count);
        store::createBase(home_, "Games", true);
        addGames(c.games);
        open();
        editor()->show();
        click(control<QPushButton>("Button6"));
        EXPECT_EQ(games().state(), store::TableState::Insert);
        EXPECT_EQ(edit("EditN")->text(), QString::fromLatin1(c.n));
        EXPECT_EQ(edit("EditSid")->text(), QString::fromLatin1(c.sid));
        EXPECT_EQ(edit("EditNgamers")->text(), QStringLiteral("1"));
        EXPECT_EQ(editor()->focusWidget(), edit("EditRegion"));
        press(NavigatorBar::Button::Post);
        EXPECT_EQ(games().recordCount(), c.count);
        editor()->FormClose();
    }
}

TEST_F(EditorTest, ClosingAsksBeforeDroppingAChange) {
    addGames({{"Contra", "c", ""}});
    for (const auto answer : {MessageBox::Answer::No, MessageBox::Answer::Yes}) {
        open();
        edit("EditName")->end(false);
        QTest::keyClicks(edit("EditName"), QStringLiteral("!"));
        MessageBox::clearShownTexts();
        MessageBox::queueAnswer(answer);
        editor()->close();
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("Сохранить изменения?")});
        EXPECT_FALSE(editor()->isVisible());
        store::Table table(store::basesFolder(home_), "games.db");
        table.open();
        EXPECT_EQ(table.fieldByName("Name").asString(), answer == MessageBox::Answer::Yes ? "Contra!" : "Contra");
    }
    open();
    MessageBox::clearShownTexts();
    editor()->close();
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << "nothing to ask about";
}

TEST_F(EditorTest, WidthToggleAndEnlargedPanes) {
    open();
    auto* toggle = control<QPushButton>("Button9");
    auto* pane = control<QPlainTextEdit>("MemoText");
    const auto outer = [this] { return editor()->width() + 8; };
    click(toggle);
    EXPECT_EQ(outer(), 710);
    EXPECT_EQ(toggle->text(), QStringLiteral("<"));
    click(toggle);
    EXPECT_EQ(outer(), 380);
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));

    editor()->MemoText4DblClick(pane);
    EXPECT_EQ(outer(), 710);
    EXPECT_EQ(pane->geometry(), QRect(2, 2, 700, 560));
    EXPECT_EQ(pane->font().pointSize(), 11);
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));
    click(toggle); // sees a wide window while the caption says ">"
    EXPECT_EQ(outer(), 380);
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));
    editor()->MemoText4DblClick(pane); // shrinks; the window was narrow already
    EXPECT_EQ(pane->geometry(), QRect(4, 383, 365, 170));
    EXPECT_EQ(outer(), 380) << "widened on the way, then narrowed by the caption";

    // Panes: one at a time; Courier New keeps its face when enlarged.
    auto* passwords = control<QPlainTextEdit>("MemoText3");
    click(control<QRadioButton>("RadioGroup1Item3"));
    EXPECT_TRUE(passwords->isVisibleTo(editor()));
    EXPECT_FALSE(pane->isVisibleTo(editor()));
    editor()->MemoText4DblClick(passwords);
    EXPECT_EQ(passwords->font().family(), QStringLiteral("Courier New"));
    EXPECT_EQ(passwords->font().pointSize(), 11);
}

TEST_F(EditorTest, TabWalksTheMainFieldsOnly) {
    addGames({{"Contra", "c", ""}});
    open();
    editor()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor()));
    edit("EditN")->setFocus();
    QStringList walked{QStringLiteral("EditN")};
    for (int i = 0; i < 10; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focused = QApplication::focusWidget();
        if (auto* box = qobject_cast<QComboBox*>(focused->parentWidget())) focused = box;
        walked << focused->objectName();
    }
    EXPECT_EQ(walked, (QStringList{QStringLiteral("EditN"), QStringLiteral("EditRegion"), QStringLiteral("EditName"),
                                   QStringLiteral("EditPublisher"), QStringLiteral("EditYear"),
                                   QStringLiteral("EditNgamers"), QStringLiteral("DBComboBox1"),
                                   QStringLiteral("DBComboBox2"), QStringLiteral("EditSize"),
                                   QStringLiteral("EditRating"), QStringLiteral("RadioGroup1Item1")}));
    EXPECT_EQ(colourOf("EditPublisher"), visited());
    EXPECT_EQ(colourOf("EditDeveloper"), visited()) << "skipped by Tab, marked by leaving the box before it";
    EXPECT_EQ(colourOf("ComboBox1"), visited()) << "marked by leaving the Genre box";
    EXPECT_EQ(colourOf("EditDrname"), fresh());
}

TEST_F(EditorTest, GenreListFollowsTheTypeAndThemesAppendOncePerChoice) {
    addGames({{"Contra", "c", ""}});
    open();
    QComboBox* types = box("DBComboBox1");
    QComboBox* genres = box("DBComboBox2");
    QComboBox* themes = box("ComboBox1");
    EXPECT_EQ(types->count(), 30);
    EXPECT_EQ(types->itemText(8), QStringLiteral("Puzzle/Tetris "));
    EXPECT_EQ(themes->currentText(), QStringLiteral("Ext"));
    const std::pair<const char*, int> lists[] = {{"Sport", 19}, {"Board Game", 7}, {"Race/Driving", 5},
                                                 {"Simulation", 3}, {"Casino/Cards", 3}, {"sport", 30}};
    for (const auto& [type, count] : lists) {
        types->lineEdit()->clear();
        QTest::keyClicks(types->lineEdit(), QString::fromLatin1(type));
        EXPECT_EQ(genres->count(), count) << type;
    }
    press(NavigatorBar::Button::Post);
    EXPECT_EQ(field("Type"), "sport");

    genres->lineEdit()->clear();
    QTest::keyClicks(genres->lineEdit(), QStringLiteral("Platform"));
    themes->setCurrentIndex(1);
    emit themes->activated(1); // "Fantasy" chosen from the list
    EXPECT_EQ(field("Genre"), "Platform, Fantasy");
    themes->lineEdit()->clear();
    QTest::keyClicks(themes->lineEdit(), QStringLiteral("Hor"));
    EXPECT_EQ(field("Genre"), "Platform, Fantasy") << "typing alone appends nothing";
    QTest::keyClick(themes->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(field("Genre"), "Platform, Fantasy, H") << "cut to the field's 20 characters";
    EXPECT_EQ(genres->currentText(), QStringLiteral("Platform, Fantasy, H"));
}

TEST_F(EditorTest, CtrlBAndCtrlIWrapTheSelectionInPlace) {
    addGames({{"Contra", "c", ""}});
    open();
    auto* pane = control<QPlainTextEdit>("MemoText");
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    edit("Edit1")->setText(QStringLiteral("jump"));
    pane->setPlainText(QStringLiteral("see code here"));
    QTextCursor cursor = pane->textCursor();
    cursor.setPosition(4);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    pane->setTextCursor(cursor);
    QTest::keyClick(pane, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("see [code] here"));
    QTest::keyClick(pane, Qt::Key_I, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("see [code]__ here"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("kept"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("jump"));
    press(NavigatorBar::Button::Post);
    EXPECT_EQ(field("Text1"), "see [code]__ here");
}

TEST_F(EditorTest, PicturesAreChosenAndPreviewedOncePerEdit) {
    addGames({{"Mega Man: Dr. Wily's", "m", "a.png"}});
    savePicture("m", "a.png", Qt::red);
    savePicture("m", "b.png", Qt::green);
    savePicture("m", "Mega_Man_Dr._Wilys.png", Qt::blue);
    open();
    {
        store::Table& table = games();
        table.edit();
        table.fieldByName("Image2").setAsString("b.png");
        table.post();
    }
    // Hovering: the picture of an edit loads once each time the pointer comes onto it.
    int loads = 0;
    const auto hover = [&](const char* name) {
        const qint64 before = editor()->previewView()->pixmap().cacheKey();
        editor()->EditImageMouseMove(edit(name));
        if (editor()->previewView()->pixmap().cacheKey() != before) ++loads;
    };
    for (const char* name : {"EditImage2", "EditImage2", "EditImage3", "EditImage2", "EditImage2", "EditImage"})
        hover(name);
    EXPECT_EQ(loads, 3) << "Image2, Image2 again after Image3 (empty), Image1";
    EXPECT_EQ(previewColour(), QColor(Qt::red).rgb());

    // Choosing for Image3: the chooser offers the game's pictures first.
    whenModal([this] {
        auto* list = windows_->fopen()->findChild<QListWidget*>(QStringLiteral("ListBox1"));
        ASSERT_EQ(list->count(), 1);
        list->setCurrentRow(0);
        click(windows_->fopen()->findChild<QPushButton*>(QStringLiteral("Button2")));
    });
    click(control<QPushButton>("Button3"));
    EXPECT_EQ(windows_->form1()->picmask, "Mega_Man_Dr._Wilys*.*");
    EXPECT_EQ(field("Image3"), "Mega_Man_Dr._Wilys.png");
    EXPECT_EQ(games().state(), store::TableState::Browse) << "saved at once";
    EXPECT_EQ(previewColour(), QColor(Qt::blue).rgb());
    EXPECT_EQ(colourOf("EditImage3"), visited());
    hover("EditImage3");
    EXPECT_EQ(previewColour(), QColor(Qt::blue).rgb()) << "the slot chosen last is not loaded again";

    // Cancel in the chooser writes nothing.
    whenModal([this] { click(windows_->fopen()->findChild<QPushButton*>(QStringLiteral("Button3"))); });
    click(control<QPushButton>("Button4"));
    EXPECT_EQ(field("Image4"), "");
}

TEST_F(EditorTest, QuickJumpByPositionOrName) {
    addGames({{"Adventure", "a", "a.png"}, {"Battletoads", "b", ""}, {"Contra", "c", "c.png"}});
    savePicture("a", "a.png", Qt::red);
    savePicture("c", "c.png", Qt::blue);
    open();
    QLineEdit* box = edit("Edit1");
    box->setText(QStringLiteral("3"));
    click(control<QPushButton>("Button10"));
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Contra"));
    EXPECT_EQ(previewColour(), QColor(Qt::blue).rgb()) << "the first picture of the game found";
    box->setText(QStringLiteral("BAT"));
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Battletoads"));
    box->clear();
    click(control<QPushButton>("Button10"));
    EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("'' is not a valid integer value")});
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Adventure")) << "left on the first record";
}

TEST_F(EditorTest, PatchLinkStoresThePatchRecordsNumber) {
    addGames({{"Contra", "c", ""}});
    open();
    const auto link = [this] {
        whenModal([this] { windows_->form3()->close(); });
        click(control<QPushButton>("Button7"));
    };
    link();
    EXPECT_EQ(field("Patch"), "") << "an empty patch table links nothing";
    EXPECT_EQ(colourOf("PatchEdit"), visited());
    store::Table& patches = windows_->form3()->Table1();
    for (int n : {7, 8}) {
        patches.append();
        patches.fieldByName("N").setAsInteger(n);
        patches.post();
    }
    link();
    EXPECT_EQ(field("Patch"), "7") << "a game without a patch links the first one";
    EXPECT_EQ(edit("PatchEdit")->text(), QStringLiteral("7"));
    games().edit();
    games().fieldByName("Patch").setAsInteger(2);
    games().post();
    link();
    EXPECT_EQ(field("Patch"), "8") << "the window opens on the linked patch";

    // A patch begun with "+" and left by the close box is saved when the user
    // says so, and the game links the saved record.
    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    whenModal([this] {
        click(windows_->form3()->findChild<QPushButton*>(QStringLiteral("Button2")));
        windows_->form3()->close();
    });
    click(control<QPushButton>("Button7"));
    EXPECT_EQ(field("Patch"), "9");
    EXPECT_EQ(patches.recordCount(), 3);
}

} // namespace
} // namespace gamarium::gui::testing
