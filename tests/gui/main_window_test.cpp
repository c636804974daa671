#include "core/files/files.h"
#include "core/paradox/paradox_table.h"
#include "core/store/catalogue.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/paradox_writer.h"
#include "gui/app/main_window.h"
#include "gui/app/new_base_dialog.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

namespace fs = std::filesystem;

class MainWindowTest : public GuiTest {
protected:
    TForm1* form() { return windows_->form1(); }
    QComboBox* combo() { return form()->findChild<QComboBox*>(QStringLiteral("ComboBox1")); }
    QPushButton* button(const char* name) { return form()->findChild<QPushButton*>(QString::fromLatin1(name)); }
    QStringList items() {
        QStringList names;
        for (int i = 0; i < combo()->count(); ++i) names << combo()->itemText(i);
        return names;
    }

    // Presses "Создать", types the name and presses OK (or Cancel).
    void createThroughDialog(const QString& name, bool ok = true) {
        whenModal([this, name, ok] {
            TPasswordDlg* dialog = windows_->passwordDlg();
            dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(name);
            click(dialog->findChild<QPushButton*>(ok ? QStringLiteral("OKBtn") : QStringLiteral("CancelBtn")));
            if (dialog->isVisible()) dialog->reject(); // refused: leave the dialog
        });
        click(button("Button2"));
    }

    int gameCount(const std::string& base) {
        store::Table table(store::basesFolder(home_), store::gameTableName(base));
        table.open();
        return table.recordCount();
    }

    void addGame(const std::string& base) {
        store::Table table(store::basesFolder(home_), store::gameTableName(base));
        table.open();
        table.append();
        table.fieldByName("Name").setAsString("Contra"_stored);
        table.post();
    }
};

TEST_F(MainWindowTest, FirstShowMakesFoldersAndListsOnlyGameTables) {
    fs::create_directories(home_ / "base" / "x.db");
    store::createBase(home_, "games", false);
    std::ofstream(home_ / "base" / "old_patchwork.db") << "x";
    std::ofstream(home_ / "base" / "notes.txt") << "x";
    fs::remove_all(home_ / "images");

    form()->FormActivate();

    EXPECT_EQ(items(), QStringList{QStringLiteral("games")});
    EXPECT_EQ(combo()->currentText(), QStringLiteral("games"));
    EXPECT_TRUE(fs::is_directory(home_ / "images" / "games"));
}

TEST_F(MainWindowTest, EmptyBaseFolderGivesEmptyBox) {
    combo()->setEditText(QStringLiteral("leftover"));
    form()->FormActivate();
    EXPECT_TRUE(items().isEmpty());
    EXPECT_EQ(combo()->currentText(), QString());
    EXPECT_TRUE(fs::is_directory(home_ / "base"));
    EXPECT_TRUE(fs::is_directory(home_ / "images"));
}

TEST_F(MainWindowTest, CreatingABaseListsItAndWritesTheBaseList) {
    form()->FormActivate();
    createThroughDialog(QStringLiteral("Игры"));
    createThroughDialog(QStringLiteral("snes"));

    EXPECT_EQ(combo()->currentText(), QStringLiteral("snes"));
    EXPECT_EQ(items(), (QStringList{QStringLiteral("Игры"), QStringLiteral("snes")}));
    EXPECT_EQ(files::readFile(home_ / "bases.ini"), "\xC8\xE3\xF0\xFB\r\nsnes\r\n");
    EXPECT_TRUE(fs::is_regular_file(home_ / "base" / "snes.db"));
    EXPECT_TRUE(fs::is_regular_file(home_ / "base" / "snes_patch.db"));
    EXPECT_TRUE(fs::is_directory(home_ / "images" / "snes"));
    EXPECT_EQ(gameCount("snes"), 0);
}

TEST_F(MainWindowTest, CancelLeavesTheBaseBoxAlone) {
    form()->FormActivate();
    combo()->setEditText(QStringLiteral("games"));
    createThroughDialog(QStringLiteral("typed"), false);
    EXPECT_EQ(combo()->currentText(), QStringLiteral("games"));
    EXPECT_FALSE(fs::exists(home_ / "base" / "typed.db"));
    // The name box keeps its text for the next opening.
    EXPECT_EQ(windows_->passwordDlg()->typedName(), QStringLiteral("typed"));
}

TEST_F(MainWindowTest, EnterActsAsOkAndEscAsCancel) {
    form()->FormActivate();
    for (const auto& [key, created] : {std::pair{Qt::Key_Escape, false}, std::pair{Qt::Key_Return, true}}) {
        whenModal([this, key = key] {
            auto* edit = windows_->passwordDlg()->findChild<QLineEdit*>(QStringLiteral("Edit1"));
            edit->setText(QStringLiteral("keys"));
            QTest::keyClick(edit, key);
        });
        click(button("Button2"));
        EXPECT_EQ(fs::exists(home_ / "base" / "keys.db"), created);
        EXPECT_EQ(combo()->currentText() == QStringLiteral("keys"), created);
    }
}

// Enter (main or keypad) and Space press the focused button, as on Windows.
struct KeyPress {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
constexpr KeyPress buttonKeys[] = {{Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier}, {Qt::Key_Space, {}}};

TEST_F(MainWindowTest, KeysPressTheFocusedButtonOfTheMainWindow) {
    // What each button's handler opens: a modal window, or the confirmation.
    const std::pair<const char*, QString> buttons[] = {
        {"Button1", QStringLiteral("TForm2")},
        {"Button2", QStringLiteral("TPasswordDlg")},
        {"Button3", QStringLiteral("Confirm")},
    };
    store::createBase(home_, "games", false); // the editor opens on it
    form()->show();
    for (const auto& [name, opens] : buttons) {
        for (const KeyPress& press : buttonKeys) {
            MessageBox::clearShownTexts();
            focus(button(name));
            QString opened;
            whenModal([&opened] {
                if (QWidget* modal = QApplication::activeModalWidget()) {
                    opened = modal->objectName();
                    modal->close();
                }
            });
            QTest::keyClick(button(name), press.key, press.modifiers);
            QApplication::processEvents(); // runs the check above when nothing modal opened
            if (!MessageBox::shownTexts().isEmpty()) opened = QStringLiteral("Confirm");
            EXPECT_EQ(opened, opens) << name << " key " << press.key;
        }
    }
}

TEST_F(MainWindowTest, KeysPressTheFocusedButtonOfTheNewBaseDialog) {
    form()->FormActivate();
    int made = 0;
    for (const auto& [name, creates] : {std::pair{"OKBtn", true}, std::pair{"CancelBtn", false}}) {
        for (const KeyPress& press : buttonKeys) {
            const std::string base = "keys" + std::to_string(++made);
            bool stayedOpen = false;
            whenModal([&, name = name] {
                TPasswordDlg* dialog = windows_->passwordDlg();
                dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QString::fromStdString(base));
                QPushButton* pressed = dialog->findChild<QPushButton*>(QString::fromLatin1(name));
                focus(pressed);
                QTest::keyClick(pressed, press.key, press.modifiers);
                stayedOpen = dialog->isVisible();
                if (stayedOpen) dialog->reject();
            });
            click(button("Button2"));
            EXPECT_FALSE(stayedOpen) << name << " key " << press.key;
            EXPECT_EQ(fs::exists(home_ / "base" / (base + ".db")), creates) << name << " key " << press.key;
        }
    }
}

TEST_F(MainWindowTest, ReplacingAnExistingBaseAsksFirst) {
    store::createBase(home_, "games", false);
    addGame("games");
    form()->FormActivate();

    MessageBox::queueAnswer(MessageBox::Answer::No);
    createThroughDialog(QStringLiteral("games"));
    EXPECT_EQ(gameCount("games"), 1);
    ASSERT_EQ(MessageBox::shownTexts().size(), 1);
    EXPECT_TRUE(MessageBox::shownTexts().front().contains(QStringLiteral("games")));

    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    createThroughDialog(QStringLiteral("games"));
    EXPECT_EQ(gameCount("games"), 0);
}

TEST_F(MainWindowTest, UnsafeNamesAreRefusedWithAMessage) {
    form()->FormActivate();
    for (const QString& name : {QStringLiteral(""), QStringLiteral("../evil"), QStringLiteral("a\\b"),
                                QStringLiteral(".."), QStringLiteral("nes_patch"), QStringLiteral("a:b"),
                                QStringLiteral("中文")}) {
        MessageBox::clearShownTexts();
        createThroughDialog(name);
        EXPECT_EQ(MessageBox::shownTexts().size(), 1) << name.toStdString();
    }
    EXPECT_TRUE(items().isEmpty());
    EXPECT_FALSE(fs::exists(home_ / "evil.db"));
    EXPECT_FALSE(fs::exists(home_ / "bases.ini"));
}

TEST_F(MainWindowTest, EmptyingAsksAndWorksOnTheTypedName) {
    store::createBase(home_, "games", false);
    addGame("games");
    form()->FormActivate();
    combo()->clear();
    combo()->setEditText(QStringLiteral("GAMES"));

    MessageBox::queueAnswer(MessageBox::Answer::No);
    click(button("Button3"));
    EXPECT_EQ(gameCount("games"), 1);

    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    click(button("Button3"));
    EXPECT_EQ(gameCount("games"), 0);
    EXPECT_EQ(MessageBox::shownTexts(),
              (QStringList{QStringLiteral("Вы уверены, что хотите удалить все данные из таблицы?"),
                           QStringLiteral("Вы уверены, что хотите удалить все данные из таблицы?")}));
}

// A base of old Paradox tables: one game, no patches.
void writeOldBase(const fs::path& home, const std::string& name) {
    using gamarium::testing::oldFieldsOf;
    store::prepareFolders(home);
    gamarium::testing::OldRow game(27, std::nullopt);
    game[2] = "Contra";
    gamarium::testing::writeOldTable(home / "base" / (name + ".db"), oldFieldsOf(store::gameTableSchema()), {game});
    gamarium::testing::writeOldTable(home / "base" / (name + "_patch.db"), oldFieldsOf(store::patchTableSchema()), {});
}

TEST_F(MainWindowTest, AnOldBaseIsConvertedOnlyWhenTheUserAgrees) {
    writeOldBase(home_, "old");
    form()->FormActivate();
    EXPECT_EQ(items(), QStringList{QStringLiteral("old")});
    const QString question = QStringLiteral("Таблица «old.db» записана в старом формате (Paradox). Преобразовать её?");

    // No: nothing changes, neither the editor nor the emptying question comes.
    for (const char* name : {"Button1", "Button3"}) {
        MessageBox::clearShownTexts();
        MessageBox::queueAnswer(MessageBox::Answer::No);
        click(button(name));
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{question}) << name;
        EXPECT_TRUE(paradox::isParadoxTable(home_ / "base" / "old.db"));
        EXPECT_FALSE(fs::exists(home_ / "base" / "paradox"));
    }

    // Yes: both tables converted, the report shown, then the editor opens on them.
    MessageBox::clearShownTexts();
    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    QString opened;
    whenModal([&opened] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = modal->objectName();
            modal->close();
        }
    });
    click(button("Button1"));
    EXPECT_EQ(opened, QStringLiteral("TForm2"));
    ASSERT_EQ(MessageBox::shownTexts().size(), 2);
    EXPECT_EQ(MessageBox::shownTexts().front(), question);
    EXPECT_TRUE(MessageBox::shownTexts().back().startsWith(
        QStringLiteral("old.db: записей 1, заменено символов 0, обрезано мемо 0\n"
                       "old_patch.db: записей 0, заменено символов 0, обрезано мемо 0\n"
                       "Старые файлы перенесены в папку base/paradox/old-")))
        << MessageBox::shownTexts().back().toStdString();
    EXPECT_EQ(gameCount("old"), 1);
    EXPECT_FALSE(fs::exists(home_ / "base" / "old.mb"));
}

TEST_F(MainWindowTest, TypedNameIsTakenAsTypedNotCompletedFromTheList) {
    store::createBase(home_, "tabtest", false);
    addGame("tabtest");
    form()->show(); // lists the bases
    ASSERT_TRUE(QTest::qWaitForWindowActive(form()));
    combo()->setFocus();
    combo()->clearEditText();
    QTest::keyClicks(combo(), QStringLiteral("ta"));
    EXPECT_EQ(combo()->currentText(), QStringLiteral("ta"));

    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    click(button("Button3"));
    EXPECT_EQ(gameCount("tabtest"), 1);
    ASSERT_EQ(MessageBox::shownTexts().size(), 2); // the question, then "ta" is not found
    EXPECT_TRUE(MessageBox::shownTexts().back().contains(QStringLiteral("ta.db")))
        << MessageBox::shownTexts().back().toStdString();
}

TEST_F(MainWindowTest, AFailingHandlerShowsItsMessageAndTheProgramGoesOn) {
    form()->FormActivate();
    combo()->setEditText(QStringLiteral("missing"));
    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    click(button("Button3"));
    ASSERT_EQ(MessageBox::shownTexts().size(), 2);
    EXPECT_TRUE(MessageBox::shownTexts().back().contains(QStringLiteral("missing.db"))) << MessageBox::shownTexts().back().toStdString();
    EXPECT_TRUE(form()->isEnabled());
}

} // namespace
} // namespace gamarium::gui::testing
