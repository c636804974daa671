#include "editor_fixture.h"
#include "gui/find/find_window.h"
#include "gui/widgets/file_dialog.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

namespace fs = std::filesystem;

// The tools of the editor's "Ещё" menu, driven through the menu and the
// find window's controls, with dialogs answered through their hooks.
class MoreToolsTest : public EditorTest {
protected:
    void TearDown() override {
        FileDialog::clear();
        EditorTest::TearDown();
    }
    void choose(const char* entry) {
        for (QAction* action : control<QPushButton>("ButtonMore")->menu()->actions())
            if (action->text() == QString::fromUtf8(entry)) return action->trigger();
        FAIL() << "no menu entry " << entry;
    }
    QString status() { return control<QPlainTextEdit>("Memo_status")->toPlainText(); }
    QString lastStatusLine() { return status().split(QLatin1Char('\n')).last(); }
    static QString sample(const char* file) {
        return QString::fromStdString((fs::path(GAMARIUM_TEST_DATA) / "dat" / file).string());
    }
    FindWindow* findWindow() { return editor()->findChild<FindWindow*>(); }
    template <class T> T* inFind(const char* name) { return findWindow()->findChild<T*>(QString::fromLatin1(name)); }
    // Types into the find window and waits for the results: "position name".
    QStringList search(const QString& text) {
        // Results come from a search thread and end with the count.
        auto* count = inFind<QLabel>("LabelCount");
        inFind<QLineEdit>("EditFind")->clear();
        count->clear();
        inFind<QLineEdit>("EditFind")->setText(text);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !count->text().isEmpty(); }, 2000));
        return shownResults();
    }
    QStringList shownResults() {
        auto* list = inFind<QTreeWidget>("ListResults");
        QStringList names;
        for (int i = 0; i < list->topLevelItemCount(); ++i) names << list->topLevelItem(i)->text(0) + QLatin1Char(' ') + list->topLevelItem(i)->text(2);
        return names;
    }
    void doubleClickResult(const QString& name) {
        auto* list = inFind<QTreeWidget>("ListResults");
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (QTreeWidgetItem* item = list->topLevelItem(i); item->text(2) == name) {
                list->setCurrentItem(item);
                emit list->itemDoubleClicked(item, 0);
                return;
            }
        ADD_FAILURE() << "no result " << name.toStdString();
    }
};

TEST_F(MoreToolsTest, DatFilesFillAnEmptyBaseInNameOrder) {
    open();
    const QStringList metadata = {sample("snes-developer.dat"), sample("snes-genre.dat"), sample("snes-maxusers.dat"),
                                  sample("snes-publisher.dat"), sample("snes-releaseyear.dat")};
    const fs::path damaged = home_ / "damaged.dat";
    std::ofstream(damaged) << "game (\n name \"Open\n";
    const struct {
        QStringList files;
        QString closing;    // the status memo's last line
        QString error;      // the message shown instead
    } runs[] = {
        {QStringList{sample("snes-no-intro.dat")} + metadata, QStringLiteral("Добавлено: 116, дополнено: 0, без изменений: 0"), {}},
        // The same games in the other format change nothing.
        {{sample("snes-no-intro.xml")}, QStringLiteral("Добавлено: 0, дополнено: 0, без изменений: 116"), {}},
        {{QString::fromStdString(damaged.string())}, {}, QStringLiteral("damaged.dat")},
        {{sample("snes-genre.dat")}, {}, QStringLiteral("нет DAT-файла с играми")},
    };
    for (const auto& run : runs) {
        MessageBox::clearShownTexts();
        FileDialog::queueFiles(run.files);
        choose("DAT-файлы…");
        EXPECT_EQ(games().recordCount(), 116) << run.files.front().toStdString();
        if (run.error.isEmpty()) {
            EXPECT_EQ(lastStatusLine(), run.closing);
            EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
        } else {
            ASSERT_EQ(MessageBox::shownTexts().size(), 1);
            EXPECT_TRUE(MessageBox::shownTexts().front().contains(run.error)) << MessageBox::shownTexts().front().toStdString();
            EXPECT_EQ(status(), QString()) << "a refused run leaves no report of the one before";
        }
    }
    ASSERT_FALSE(FileDialog::shownRequests().isEmpty());
    EXPECT_EQ(FileDialog::shownRequests().front().filter, QStringLiteral("DAT-файлы|*.dat;*.xml|Все файлы|*.*"));
    games().first();
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("'96 Zenkoku Koukou Soccer Senshuken"));
    EXPECT_EQ(field("Genre").empty() && field("Type").empty(), false) << "the metadata came with the games";
    click(control<QPushButton>("Button12"));
    EXPECT_EQ(status(), QStringLiteral("Проверка закончена!")) << "no name out of order";

    // The report shows the DAT's own characters, also those a game is passed over for.
    FileDialog::queueFiles({sample("plain-forms.dat")});
    choose("DAT-файлы…");
    EXPECT_TRUE(status().contains(QStringLiteral("«ＳＤガンダム Ｘ (Japan)», Name: игра пропущена: символ «ガ» (U+30AC)")))
        << status().toStdString();
    EXPECT_EQ(lastStatusLine(), QStringLiteral("Добавлено: 5, дополнено: 0, без изменений: 0, пропущено: 1"));

    editor()->close();
    open();
    EXPECT_EQ(status(), QString()) << "a base opened anew starts with an empty report";
}

TEST_F(MoreToolsTest, TheEditorShowsTheFirstGameAdded) {
    addGames({{"Zzz", "z", ""}});
    open();
    FileDialog::queueFiles({sample("snes-no-intro.dat")});
    choose("DAT-файлы…");
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("'96 Zenkoku Koukou Soccer Senshuken"));
    EXPECT_EQ(games().recordNumber(), 1);
}

// A chosen result moves the editor as the navigator does: what was typed
// goes with the game left, or a refused save keeps the editor where it is.
TEST_F(MoreToolsTest, AChosenGameIsReachedWithTheTypingSaved) {
    addGames({{"Alpha", "a", ""}, {"Contra", "c", ""}, {"Mario", "m", ""}});
    open();
    QTest::keyClicks(box("DBComboBox2")->lineEdit(), QStringLiteral("Shooter"));
    focus(edit("EditName"));
    QTest::keyClick(edit("EditName"), Qt::Key_F, Qt::ControlModifier);
    ASSERT_NE(findWindow(), nullptr);
    EXPECT_TRUE(findWindow()->isVisible());
    EXPECT_EQ(search(QStringLiteral("mar")), QStringList{QStringLiteral("3 Mario")});
    QTest::keyClick(inFind<QTreeWidget>("ListResults"), Qt::Key_Return);
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Mario"));
    games().first();
    EXPECT_EQ(field("Genre"), "Shooter");
    EXPECT_EQ(search(QStringLiteral("shoot")), QStringList{QStringLiteral("1 Alpha")}) << "the saved genre is found";

    // A save refused: the message, and the editor stays with the typing.
    QTest::keyClicks(edit("EditYear"), QStringLiteral("19x1"));
    search(QStringLiteral("contra"));
    QTest::keyClick(inFind<QLineEdit>("EditFind"), Qt::Key_Return);
    EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("'19x1' is not a valid integer value for field 'Year'")});
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(edit("EditYear")->text(), QStringLiteral("19x1"));

    editor()->close();
    EXPECT_EQ(findWindow(), nullptr) << "the find window closes with the editor";
}

// Edits made in the editor are found by the next search: a save in place,
// typing saved by a move, a delete, each followed without reading the whole
// table again; an insertion, after which it is read again.
TEST_F(MoreToolsTest, SearchesFollowTheEditorsEdits) {
    std::vector<Game> base = {{"Alpha", "a", ""}, {"Contra", "c", ""}};
    for (int i = 0; i < 40; ++i) base.push_back({"Q" + std::to_string(100 + i), "q", ""});
    addGames(base);
    open();
    choose("Найти…");
    inFind<QComboBox>("ComboField")->setCurrentText(QStringLiteral("Имя"));
    const auto rename = [&](const char* name) {
        edit("EditName")->selectAll();
        QTest::keyClicks(edit("EditName"), QString::fromLatin1(name));
    };
    const struct {
        std::function<void()> edit;
        QStringList found;
    } steps[] = {
        {[&] { rename("Aero"); press(NavigatorBar::Button::Post); }, {QStringLiteral("1 Aero"), QStringLiteral("2 Contra")}},
        {[&] { rename("Axelay"); press(NavigatorBar::Button::Next); }, {QStringLiteral("1 Axelay"), QStringLiteral("2 Contra")}},
        {[&] { press(NavigatorBar::Button::Insert); rename("Bomberman"); press(NavigatorBar::Button::Post); },
         {QStringLiteral("1 Axelay"), QStringLiteral("2 Bomberman"), QStringLiteral("3 Contra")}},
        {[&] { MessageBox::queueAnswer(MessageBox::Answer::Yes); press(NavigatorBar::Button::Delete); },
         {QStringLiteral("1 Axelay"), QStringLiteral("2 Contra")}},
    };
    EXPECT_EQ(search(QStringLiteral("a")), (QStringList{QStringLiteral("1 Alpha"), QStringLiteral("2 Contra")}));
    for (const auto& step : steps) {
        step.edit();
        const std::uint64_t readBefore = games().recordsRead();
        EXPECT_EQ(search(QStringLiteral("a")), step.found) << step.found.join(QLatin1Char('|')).toStdString();
        EXPECT_LT(games().recordsRead() - readBefore, 40u) << "followed in place: " << step.found.join(QLatin1Char('|')).toStdString();
    }
}

// The results follow each change of the table without a new search, and a
// choice reaches the game chosen whatever was deleted or inserted before it.
TEST_F(MoreToolsTest, ResultsFollowTheTableAndAChoiceReachesItsGame) {
    addGames({{"Alpha", "a", ""}, {"Bravo", "b", ""}, {"Contra", "c", ""}, {"Doom", "d", ""}});
    open();
    choose("Найти…");
    const auto list = [](std::initializer_list<const char*> items) {
        QStringList names;
        for (const char* item : items) names << QString::fromLatin1(item);
        return names;
    };
    EXPECT_EQ(search(QStringLiteral("o")), list({"2 Bravo", "3 Contra", "4 Doom"}));
    const struct {
        std::function<void()> change;
        QStringList shown;
        const char* chosen;
    } steps[] = {
        {[&] {
             press(NavigatorBar::Button::Next);
             MessageBox::queueAnswer(MessageBox::Answer::Yes);
             press(NavigatorBar::Button::Delete);
         },
         list({"2 Contra", "3 Doom"}), "Contra"},
        {[&] {
             press(NavigatorBar::Button::Insert);
             QTest::keyClicks(edit("EditName"), QStringLiteral("Boom"));
             press(NavigatorBar::Button::Post);
         },
         list({"2 Boom", "3 Contra", "4 Doom"}), "Doom"},
        {[&] {
             press(NavigatorBar::Button::First);
             edit("EditName")->selectAll();
             QTest::keyClicks(edit("EditName"), QStringLiteral("Oscar"));
             press(NavigatorBar::Button::Post);
         },
         list({"1 Oscar", "2 Boom", "3 Contra", "4 Doom"}), "Boom"},
    };
    for (const auto& step : steps) {
        step.change();
        EXPECT_TRUE(QTest::qWaitFor([&] { return shownResults() == step.shown; }, 2000))
            << shownResults().join(QLatin1Char('|')).toStdString();
        doubleClickResult(QString::fromLatin1(step.chosen));
        EXPECT_EQ(edit("EditName")->text(), QString::fromLatin1(step.chosen));
    }
}

TEST_F(MoreToolsTest, PicturesByNameFillTheFirstEmptyField) {
    addGames({{"Chrono Trigger", "c", ""}});
    const fs::path collection = home_ / "collection" / "Named_Snaps";
    fs::create_directories(collection);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString((collection / "Chrono Trigger.png").string())));
    open();
    FileDialog::queueAnswer(QString::fromStdString((home_ / "collection").string()));
    choose("Картинки по именам…");
    EXPECT_EQ(FileDialog::shownRequests().back().filter, QString()) << "a folder dialog";
    EXPECT_FALSE(field("Image1").empty());
    EXPECT_EQ(edit("EditImage")->text(), QString::fromStdString(field("Image1")));
    EXPECT_TRUE(fs::exists(home_ / "images" / "Games" / "c" / field("Image1")));
    EXPECT_TRUE(lastStatusLine().startsWith(QStringLiteral("Добавлено: 1,"))) << lastStatusLine().toStdString();
    EXPECT_TRUE(previewShown());
    EXPECT_EQ(previewColour(), QColor(Qt::blue).rgb());
}

TEST_F(MoreToolsTest, OrphansMoveOnlyWhenTheUserAgrees) {
    addGames({{"Alpha", "a", "alpha.png"}});
    savePicture("a", "alpha.png", Qt::red);
    savePicture("a", "stray.png", Qt::green);
    open();
    const fs::path stray = home_ / "images" / "Games" / "a" / "stray.png";
    const fs::path moved = home_ / "images" / "Games" / "_orphans" / "a" / "stray.png";
    for (const auto answer : {MessageBox::Answer::No, MessageBox::Answer::Yes}) {
        MessageBox::clearShownTexts();
        MessageBox::queueAnswer(answer);
        choose("Лишние картинки");
        EXPECT_TRUE(status().contains(QStringLiteral("a/stray.png"))) << status().toStdString();
        ASSERT_EQ(MessageBox::shownTexts().size(), 1);
        EXPECT_TRUE(MessageBox::shownTexts().front().contains(QStringLiteral("images/Games/_orphans/")));
        const bool yes = answer == MessageBox::Answer::Yes;
        EXPECT_EQ(fs::exists(stray), !yes);
        EXPECT_EQ(fs::exists(moved), yes);
    }
    EXPECT_TRUE(fs::exists(home_ / "images" / "Games" / "a" / "alpha.png"));
    MessageBox::clearShownTexts();
    choose("Лишние картинки");
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << "nothing left to ask about";
}

} // namespace
} // namespace gamarium::gui::testing
