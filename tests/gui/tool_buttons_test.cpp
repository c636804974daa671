#include "editor_fixture.h"
#include "gui/tools/rename_dialog.h"
#include "gui/widgets/file_dialog.h"

#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

namespace fs = std::filesystem;

class ToolButtonsTest : public EditorTest {
protected:
    void TearDown() override {
        FileDialog::clear();
        EditorTest::TearDown();
    }
    void press(const char* button) { click(control<QPushButton>(button)); }
    QString status() { return control<QPlainTextEdit>("Memo_status")->toPlainText(); }
    std::vector<std::string> column(const char* name) {
        std::vector<std::string> values;
        for (games().first(); !games().isEmpty() && !games().eof(); games().next())
            values.push_back(games().fieldByName(name).asString().bytes());
        return values;
    }
    TPasswordDlg1* renameDialog() { return windows_->passwordDlg1(); }
    // Answers the rename dialog: types `name` and closes it by `how`.
    void rename(const QString& name, const char* how) {
        whenModal([this, name, how] {
            auto* box = renameDialog()->findChild<QLineEdit*>(QStringLiteral("Password"));
            box->setText(name);
            if (QString::fromLatin1(how) == QLatin1String("close"))
                renameDialog()->close();
            else if (QString::fromLatin1(how) == QLatin1String("Esc"))
                QTest::keyClick(box, Qt::Key_Escape);
            else
                click(renameDialog()->findChild<QPushButton*>(QString::fromLatin1(how)));
        });
        press("Button13");
    }
    QString renameBoxText() {
        return renameDialog()->findChild<QLineEdit*>(QStringLiteral("Password"))->text();
    }
    fs::path listFile(const std::string& bytes) {
        const fs::path file = home_ / "list.txt";
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }
};

TEST_F(ToolButtonsTest, RenumberKeepsThePositionAndReports) {
    addGames({{"A", "a", ""}, {"B", "b", ""}, {"C", "c", ""}, {"D", "d", ""}});
    store::Table table(store::basesFolder(home_), "games.db");
    table.open();
    for (int n : {5, 5, 9, 2}) {
        table.edit();
        table.fieldByName("N").setAsInteger(n);
        table.post();
        table.next();
    }
    table.close();
    open();
    games().moveBy(2);
    control<QPlainTextEdit>("Memo_status")->setPlainText(QStringLiteral("old"));
    press("Button8");
    EXPECT_EQ(status(), QStringLiteral("Ренумерация завершена!"));
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("C"));
    EXPECT_EQ(column("N"), (std::vector<std::string>{"1", "2", "3", "4"}));
}

TEST_F(ToolButtonsTest, ChecksListWhatTheyFindAndEndOnTheLastGame) {
    addGames({{"Beta", "b", "beta.png"}, {"alpha", "a", "luigi.png"}, {"Gamma", "g", ""}});
    savePicture("b", "beta.png", Qt::red);
    const struct {
        const char* button;
        QString report;
    } cases[] = {
        {"Button12", QStringLiteral("Beta\nalpha\nПроверка закончена!")},
        {"Button14", QStringLiteral("luigi.png 2\nПроверка закончена!")},
        {"Button15", QStringLiteral("luigi.png 2\nПроверка закончена!")},
    };
    open();
    for (const auto& c : cases) {
        games().first();
        press(c.button);
        EXPECT_EQ(status(), c.report) << c.button;
        EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Gamma")) << c.button;
        EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << c.button;
    }
}

TEST_F(ToolButtonsTest, RenameMovesTheGameAndItsPicturesAndTheDialogRemembersTheName) {
    addGames({{"Alpha", "a", "alpha.png"}, {"Mario", "m", ""}});
    savePicture("a", "alpha.png", Qt::red);
    open();
    rename(QStringLiteral("Zelda"), "OKBtn");
    EXPECT_EQ(column("Name"), (std::vector<std::string>{"Mario", "Zelda"}));
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Zelda")) << "the editor stands on the renamed game";
    EXPECT_EQ(edit("EditDrname")->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(edit("Edit1")->text(), QStringLiteral("Zelda"));
    EXPECT_TRUE(fs::exists(home_ / "images" / "Games" / "z" / "alpha.png"));
    EXPECT_EQ(MessageBox::shownTexts(),
              QStringList{QStringLiteral("Внимание!!\rЯ переместил файлы\ralpha.png\rв папку \"\\z\"")});
    EXPECT_EQ(status(), QStringLiteral("Переименование закончено!"));
    EXPECT_EQ(previewColour(), QColor(Qt::red).rgb()) << "the moved picture is shown";

    // Cancel, Esc and the close box empty the box and change nothing.
    for (const char* how : {"CancelBtn", "Esc", "close"}) {
        games().first();
        rename(QStringLiteral("Castlevania"), how);
        EXPECT_EQ(column("Name"), (std::vector<std::string>{"Mario", "Zelda"})) << how;
        EXPECT_EQ(renameBoxText(), QString()) << how;
        EXPECT_EQ(status(), QStringLiteral("Переименование закончено!")) << how;
    }
}

// A genre typed and not yet saved goes with the game renamed.
TEST_F(ToolButtonsTest, RenameKeepsATypedGenre) {
    addGames({{"Alpha", "a", ""}, {"Mario", "m", ""}});
    open();
    QTest::keyClicks(box("DBComboBox2")->lineEdit(), QStringLiteral("Shooter"));
    rename(QStringLiteral("Beta"), "OKBtn");
    EXPECT_EQ(column("Name"), (std::vector<std::string>{"Beta", "Mario"}));
    games().first();
    EXPECT_EQ(field("Genre"), "Shooter");
    EXPECT_EQ(box("DBComboBox2")->currentText(), QStringLiteral("Shooter"));
}

// A save of the game being edited that is refused stops a tool before it
// starts: nothing is added, and the typing stays for the user to correct.
TEST_F(ToolButtonsTest, ARefusedSaveStopsATool) {
    addGames({{"Zelda", "z", ""}});
    open();
    edit("EditName")->end(false);
    QTest::keyClicks(edit("EditName"), QStringLiteral(" II"));
    QTest::keyClicks(edit("EditYear"), QStringLiteral("19x1"));
    FileDialog::queueAnswer(QString::fromStdString(listFile("Game;u\r\n").string()));
    press("Button17");
    EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("'19x1' is not a valid integer value for field 'Year'")});
    EXPECT_EQ(games().recordCount(), 1);
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Zelda II"));
    EXPECT_EQ(games().state(), store::TableState::Edit);
}

TEST_F(ToolButtonsTest, LightCopiesFirstPicturesAndListsMissingOnes) {
    addGames({{"Alpha", "a", "alpha.png"}, {"Mario", "m", "gone.png"}});
    savePicture("a", "alpha.png", Qt::red);
    open();
    press("Button16");
    EXPECT_EQ(status(), QStringLiteral("Не могу найти gone.png\nСоздание списка Light завершено!"));
    EXPECT_TRUE(fs::exists(home_ / "images" / "Games" / "light" / "a" / "alpha.png"));
    EXPECT_TRUE(fs::is_directory(home_ / "images" / "Games" / "light" / "m"));
}

TEST_F(ToolButtonsTest, MergeAddsTheListAndShowsItsText) {
    addGames({{"Zelda", "z", ""}});
    open();
    FileDialog::queueAnswer(std::nullopt);
    press("Button17");
    EXPECT_EQ(games().recordCount(), 1) << "a cancelled dialog changes nothing";
    ASSERT_EQ(FileDialog::shownRequests().size(), 1);
    EXPECT_EQ(FileDialog::shownRequests().front().title, QStringLiteral("Открываем файл"));
    EXPECT_EQ(FileDialog::shownRequests().front().filter, QStringLiteral("*.*|*.*|*.txt|*.txt"));

    // Windows-1251 text, a line that cannot be a game.
    FileDialog::queueAnswer(QString::fromStdString(listFile("Doom (32X) (PD);u\r\nbroken\r\n\xD2\xE5\xF2\xF0\xE8\xF1;r\r\n").string()));
    press("Button17");
    EXPECT_EQ(column("Name"), (std::vector<std::string>{"Zelda", "Doom", "\xD2\xE5\xF2\xF0\xE8\xF1"}));
    EXPECT_EQ(column("Sid"), (std::vector<std::string>{"z", "pd", "\xF2"}));
    EXPECT_EQ(status(), QStringLiteral("Doom (32X) (PD);u\nbroken\nТетрис;r\n\nСписок прочитан в кодировке Windows-1251.\n"
                                       "Пропущена строка 2: broken"));
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Тетрис")) << "the editor shows the last game added";
    EXPECT_FALSE(control<QProgressBar>("ToolProgress")->isVisibleTo(editor()));
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
}

// A wrong file is refused with its message and the program goes on: the
// editor stays open and nothing is added.
TEST_F(ToolButtonsTest, MergeRefusesAFileThatIsNoList) {
    addGames({{"Zelda", "z", ""}});
    open();
    FileDialog::queueAnswer(QString::fromStdString(listFile("no semicolon here\r\nGame;u\r\n").string()));
    press("Button17");
    EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("файл не тот. Оставь эту затею.")});
    EXPECT_EQ(games().recordCount(), 1);
    EXPECT_TRUE(editor()->isVisible());
    for (QPushButton* button : editor()->findChildren<QPushButton*>()) EXPECT_TRUE(button->isEnabled());
}

// While a long tool runs the window takes events, but nothing else can
// start and the window does not close under it.
TEST_F(ToolButtonsTest, ALongToolHoldsTheOtherControls) {
    addGames({{"Zelda", "z", ""}});
    open();
    std::string list;
    for (int i = 0; i < 3000; ++i) list += "Game " + std::to_string(i) + ";u\r\n";
    FileDialog::queueAnswer(QString::fromStdString(listFile(list).string()));
    bool checked = false;
    QTimer::singleShot(0, [&] {
        checked = true;
        EXPECT_FALSE(control<QPushButton>("Button8")->isEnabled());
        EXPECT_FALSE(navigator()->isEnabled());
        EXPECT_TRUE(control<QProgressBar>("ToolProgress")->isVisibleTo(editor()));
        editor()->close();
        EXPECT_TRUE(editor()->isVisible());
    });
    press("Button17");
    EXPECT_TRUE(checked);
    EXPECT_EQ(games().recordCount(), 3001);
    EXPECT_TRUE(control<QPushButton>("Button8")->isEnabled());
    EXPECT_TRUE(navigator()->isEnabled());
}

} // namespace
} // namespace gamarium::gui::testing
