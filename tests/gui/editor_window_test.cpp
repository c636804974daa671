#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "editor_fixture.h"
#include "gui/app/main_window.h"
#include "gui/editor/editor_window.h"
#include "gui/patches/patch_window.h"
#include "gui/pictures/chooser_window.h"
#include "gui/widgets/navigator_bar.h"

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
        editor()->close();
    });
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("Button1")));
    EXPECT_TRUE(checked);
    EXPECT_TRUE(windows_->form1()->isVisible());
    EXPECT_EQ(editor()->session(), nullptr) << "the base closed with the editor";
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
    EXPECT_EQ(editor()->session(), nullptr);
}

TEST_F(EditorTest, NavigationRefreshesThePreviewAndTheColours) {
    addGames({{"Contra", "c", "contra.png"}, {"Empty", "e", ""}, {"Missing", "c", "gone.png"}, {"Mario", "m", "m.png"}});
    savePicture("c", "contra.png", Qt::red);
    savePicture("m", "m.png", Qt::blue);
    open();
    ASSERT_TRUE(previewShown());
    EXPECT_EQ(previewColour(), QColor(Qt::red).rgb());
    focus(edit("EditRegion"));
    focus(edit("EditName"));
    ASSERT_EQ(colourOf("EditRegion"), visited());
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
        EXPECT_EQ(table.fieldByName("Name").asString().bytes(), answer == MessageBox::Answer::Yes ? "Contra!" : "Contra");
    }
    open();
    MessageBox::clearShownTexts();
    editor()->close();
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << "nothing to ask about";
}

TEST_F(EditorTest, WidthToggleAndEnlargedPanes) {
    open();
    const auto doubleClick = [](QPlainTextEdit* pane) { QTest::mouseDClick(pane->viewport(), Qt::LeftButton); };
    auto* toggle = control<QPushButton>("Button9");
    auto* pane = control<QPlainTextEdit>("MemoText");
    const auto outer = [this] { return editor()->width() + 8; };
    click(toggle);
    EXPECT_EQ(outer(), 710);
    EXPECT_EQ(toggle->text(), QStringLiteral("<"));
    click(toggle);
    EXPECT_EQ(outer(), 380);
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));

    doubleClick(pane);
    EXPECT_EQ(outer(), 710);
    EXPECT_EQ(pane->geometry(), QRect(2, 2, 700, 560));
    EXPECT_EQ(pane->font().pointSize(), 11);
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));
    click(toggle); // sees a wide window while the caption says ">"
    EXPECT_EQ(outer(), 380);
    EXPECT_EQ(toggle->text(), QStringLiteral(">"));
    doubleClick(pane); // shrinks; the window was narrow already
    EXPECT_EQ(pane->geometry(), QRect(4, 383, 365, 170));
    EXPECT_EQ(outer(), 380) << "widened on the way, then narrowed by the caption";

    // Panes: one at a time; Courier New keeps its face when enlarged.
    auto* passwords = control<QPlainTextEdit>("MemoText3");
    click(control<QRadioButton>("RadioGroup1Item3"));
    EXPECT_TRUE(passwords->isVisibleTo(editor()));
    EXPECT_FALSE(pane->isVisibleTo(editor()));
    doubleClick(passwords);
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
    EXPECT_EQ(themes->lineEdit()->cursorPosition(), 0) << "the theme shows from its start";
    EXPECT_EQ(genres->lineEdit()->cursorPosition(), 0) << "the genre shows from its start";
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
        table.fieldByName("Image2").setAsString("b.png"_stored);
        table.post();
    }
    // Hovering: the picture of an edit loads once each time the pointer comes onto it.
    int loads = 0;
    const auto hover = [&](const char* name) {
        const qint64 before = editor()->previewView()->pixmap().cacheKey();
        QTest::mouseMove(edit(name), QPoint(5, 5));
        QTest::mouseMove(edit(name), QPoint(9, 7));
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
    EXPECT_EQ(field("Image3"), "Mega_Man_Dr._Wilys.png");
    EXPECT_EQ(games().state(), store::TableState::Browse) << "saved at once";
    EXPECT_EQ(previewColour(), QColor(Qt::blue).rgb());
    EXPECT_EQ(colourOf("EditImage3"), visited());
    hover("EditImage3");
    EXPECT_EQ(previewColour(), QColor(Qt::blue).rgb()) << "the slot chosen last is not loaded again";

    // Only OK writes: Cancel, Esc and the close box leave the field alone,
    // whatever was chosen before.
    const std::pair<const char*, std::function<void()>> leaves[] = {
        {"Button4", [this] { click(windows_->fopen()->findChild<QPushButton*>(QStringLiteral("Button3"))); }},
        {"Button5",
         [this] { QTest::keyClick(windows_->fopen()->findChild<QListWidget*>(QStringLiteral("ListBox1")), Qt::Key_Escape); }},
        {"Button2", [this] { windows_->fopen()->close(); }},
    };
    for (const auto& [button, leave] : leaves) {
        whenModal(leave);
        click(control<QPushButton>(button));
    }
    EXPECT_EQ(field("Image4"), "");
    EXPECT_EQ(field("Image5"), "");
    EXPECT_EQ(field("Image2"), "b.png");
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

TEST_F(EditorTest, PatchLinkStoresThePatchChosenWithOkOnly) {
    addGames({{"Contra", "c", ""}});
    open();
    for (int n : {7, 8}) {
        patches().append();
        patches().fieldByName("N").setAsInteger(n);
        patches().post();
    }
    // Closes the patch window by OK, Esc or the close box, after `first` if given.
    const auto link = [this](const char* how, std::function<void()> first = {}) {
        whenModal([this, how, first] {
            TForm3* window = windows_->form3();
            if (first) first();
            if (QString::fromLatin1(how) == QLatin1String("OK"))
                click(window->findChild<QPushButton*>(QStringLiteral("Button1")));
            else if (QString::fromLatin1(how) == QLatin1String("Esc"))
                QTest::keyClick(window, Qt::Key_Escape);
            else
                window->close();
        });
        click(control<QPushButton>("Button7"));
    };
    link("OK");
    EXPECT_EQ(field("Patch"), "7") << "a game without a patch links the first one";
    EXPECT_EQ(edit("PatchEdit")->text(), QStringLiteral("7"));
    EXPECT_EQ(colourOf("PatchEdit"), visited());
    games().edit();
    games().fieldByName("Patch").setAsInteger(2);
    games().post();
    link("OK");
    EXPECT_EQ(field("Patch"), "8") << "the window opens on the linked patch";

    // Esc and the close box link nothing: a game without a patch stays so.
    games().edit();
    games().fieldByName("Patch").clear();
    games().post();
    for (const char* how : {"Esc", "close"}) {
        link(how, [this] { click(windows_->form3()->findChild<QPushButton*>(QStringLiteral("Button2"))); });
        EXPECT_EQ(field("Patch"), "") << how;
        EXPECT_EQ(patches().recordCount(), 2) << "the untouched patch begun with \"+\" is dropped";
    }
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
}

// Multi-line texts keep their CR LF line ends; a pane is not reset while the
// record stays the same, and a pane only looked at is not written.
TEST_F(EditorTest, TextPanesKeepCrLfAndTheirCaret) {
    addGames({{"Contra", "c", ""}});
    {
        store::Table table(store::basesFolder(home_), "games.db");
        table.open();
        table.edit();
        table.fieldByName("Text1").setAsString("one\r\ntwo"_stored);
        table.fieldByName("Text2").setAsString("lf\nonly"_stored);
        table.post();
    }
    open();
    auto* pane = control<QPlainTextEdit>("MemoText");
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("one\ntwo"));
    QTextCursor caret = pane->textCursor();
    caret.setPosition(2);
    pane->setTextCursor(caret);
    QTest::keyClicks(edit("EditName"), QStringLiteral("!"));
    EXPECT_EQ(games().state(), store::TableState::Edit);
    EXPECT_EQ(pane->textCursor().position(), 2) << "the change of state left the pane alone";

    caret.movePosition(QTextCursor::End);
    pane->setTextCursor(caret);
    QTest::keyClick(pane, Qt::Key_Return);
    QTest::keyClicks(pane, QStringLiteral("three"));
    press(NavigatorBar::Button::Post);
    EXPECT_EQ(field("Text1"), "one\r\ntwo\r\nthree");
    EXPECT_EQ(field("Text2"), "lf\nonly") << "a pane only looked at stays as stored";
}

// A character that Windows-1251 cannot hold is refused with its name; the
// record and the typing stay as they were.
TEST_F(EditorTest, ACharacterTheCodePageLacksIsRefused) {
    addGames({{"Contra", "c", ""}});
    open();
    edit("EditName")->end(false);
    QTest::keyClick(edit("EditName"), Qt::Key_Space);
    QTest::sendKeyEvent(QTest::KeyAction::Click, edit("EditName"), Qt::Key_unknown, QStringLiteral("☃"), Qt::NoModifier);
    press(NavigatorBar::Button::Post);
    ASSERT_EQ(MessageBox::shownTexts().size(), 1);
    EXPECT_TRUE(MessageBox::shownTexts().front().contains(QStringLiteral("U+2603")))
        << MessageBox::shownTexts().front().toStdString();
    EXPECT_EQ(games().state(), store::TableState::Edit);
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Contra ☃"));
    press(NavigatorBar::Button::Next);
    EXPECT_EQ(MessageBox::shownTexts().size(), 2) << "a move saves first, and is refused the same way";
    games().cancel();
    EXPECT_EQ(field("Name"), "Contra");
}

// Closing asks only about what the user typed: a new game from "OK" that
// was not touched is dropped without a question.
TEST_F(EditorTest, ClosingWithAnUntouchedNewGameAsksNothing) {
    addGames({{"Contra", "c", ""}});
    open();
    click(control<QPushButton>("Button6"));
    ASSERT_EQ(games().state(), store::TableState::Insert);
    editor()->close();
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
    store::Table table(store::basesFolder(home_), "games.db");
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
}

// Typing into an empty base begins its first game and keeps what was typed.
TEST_F(EditorTest, TypingIntoAnEmptyBaseBeginsTheFirstGame) {
    open();
    QTest::keyClicks(edit("EditName"), QStringLiteral("Contra"));
    EXPECT_EQ(games().state(), store::TableState::Insert);
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Contra"));
    press(NavigatorBar::Button::Post);
    EXPECT_EQ(games().recordCount(), 1);
    EXPECT_EQ(field("Name"), "Contra");
}

// A cancelled Delete still refreshes the record's colours, as every
// navigator button does.
TEST_F(EditorTest, ACancelledDeleteRefreshesToo) {
    addGames({{"Contra", "c", ""}, {"Mario", "m", ""}});
    open();
    focus(edit("EditRegion"));
    focus(edit("EditYear"));
    ASSERT_EQ(colourOf("EditRegion"), visited());
    MessageBox::queueAnswer(MessageBox::Answer::No);
    press(NavigatorBar::Button::Delete);
    EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("Delete record?")});
    EXPECT_EQ(games().recordCount(), 2);
    EXPECT_EQ(colourOf("EditRegion"), fresh());
}

// A genre typed and not yet saved goes with the record that the quick jump
// leaves; when that save is refused, the typing stays with the refusal shown.
TEST_F(EditorTest, QuickJumpKeepsATypedGenre) {
    addGames({{"Contra", "c", ""}, {"Mario", "m", ""}});
    open();
    QComboBox* genres = box("DBComboBox2");
    QTest::keyClicks(genres->lineEdit(), QStringLiteral("Run"));
    edit("Edit1")->setText(QStringLiteral("2"));
    click(control<QPushButton>("Button10"));
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Mario"));
    games().first();
    EXPECT_EQ(field("Genre"), "Run");

    games().last();
    QTest::keyClicks(genres->lineEdit(), QStringLiteral("Jump"));
    QTest::keyClicks(edit("EditYear"), QStringLiteral("19x1"));
    edit("Edit1")->setText(QStringLiteral("1"));
    click(control<QPushButton>("Button10"));
    EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("'19x1' is not a valid integer value for field 'Year'")});
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Mario"));
    EXPECT_EQ(genres->currentText(), QStringLiteral("Jump"));
}

// Ctrl+B and Ctrl+I are told by the key, so they work under a Russian
// layout too, where the keys give the letters И and Ш.
TEST_F(EditorTest, WrapKeysWorkUnderARussianLayout) {
    addGames({{"Contra", "c", ""}});
    open();
    auto* pane = control<QPlainTextEdit>("MemoText");
    focus(pane);
    const std::pair<int, quint32> keys[] = {{0x0418, 56}, {0x0428, 31}}; // И, Ш
    for (const auto& [key, code] : keys) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::ControlModifier, code, 0, 0);
        QApplication::sendEvent(pane, &press);
    }
    EXPECT_EQ(pane->toPlainText(), QStringLiteral("[]__"));
}

} // namespace
} // namespace gamarium::gui::testing
