// The restore points window from the editor's "Ещё" menu and from the main
// window: the list, a restore after a confirmation naming the point, the
// result in a message, and the editor showing the restored table at once.
#include "editor_fixture.h"
#include "core/support/run_command.h"
#include "core/files/files.h"
#include "core/history/point_store.h"
#include "gui/app/new_base_dialog.h"
#include "gui/app/restore_points_dialog.h"
#include "gui/widgets/file_dialog.h"

#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>

#include <fstream>

namespace gamarium::gui::testing {
namespace {

namespace fs = std::filesystem;

class RestorePointsWindowTest : public EditorTest {
protected:
    void chooseMore(const char* entry) {
        for (QAction* action : control<QPushButton>("ButtonMore")->menu()->actions())
            if (action->text() == QString::fromUtf8(entry)) return action->trigger();
        FAIL() << "no menu entry " << entry;
    }
    std::vector<history::Point> points() { return history::PointStore(home_, "Games").points(); }
    // Runs `step` on the restore points window once it is up, then closes it with Esc.
    static void inPointsWindow(std::function<void(RestorePointsDialog*)> step) {
        whenModal([step = std::move(step)] {
            auto* dialog = qobject_cast<RestorePointsDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            step(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
    }
    static QStringList rows(RestorePointsDialog* dialog) {
        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("PointList"));
        QStringList shown;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            shown << list->topLevelItem(i)->text(0) + QLatin1Char(' ') + list->topLevelItem(i)->text(2) +
                         QLatin1Char(' ') + list->topLevelItem(i)->text(3);
        return shown;
    }
    // Chooses the row and presses "Восстановить", the question answered Yes.
    static void restoreRow(RestorePointsDialog* dialog, int row) {
        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("PointList"));
        list->setCurrentItem(list->topLevelItem(row));
        MessageBox::queueAnswer(MessageBox::Answer::Yes);
        click(dialog->findChild<QPushButton*>(QStringLiteral("ButtonRestore")));
    }
};

TEST_F(RestorePointsWindowTest, TheEditorTakesOnePointForItsEditsAndShowsTheRestoredTableAtOnce) {
    addGames({{"Alpha", "a", ""}, {"Beta", "b", ""}, {"Gamma", "g", ""}});
    {
        // Numbers out of order, for the renumbering to change.
        store::Table table(store::basesFolder(home_), "games.db");
        table.open();
        table.moveToPosition(3);
        table.edit();
        table.fieldByName("N").setAsInteger(9);
        table.post();
    }
    open();
    for (const char* typed : {" II", "I"}) {
        edit("EditName")->end(false);
        QTest::keyClicks(edit("EditName"), QString::fromUtf8(typed));
        press(NavigatorBar::Button::Post);
    }
    ASSERT_EQ(field("Name"), "Alpha III");
    ASSERT_EQ(points().size(), 1u) << "one point for the editor's edits, not one per save";
    EXPECT_EQ(points().front().what, "Правка в редакторе");
    click(control<QPushButton>("Button8"));
    ASSERT_EQ(points().size(), 2u);
    EXPECT_EQ(points().back().what, "Ренумерация (1->100)");
    games().moveToPosition(3);

    MessageBox::clearShownTexts();
    inPointsWindow([](RestorePointsDialog* dialog) {
        EXPECT_EQ(rows(dialog), (QStringList{QStringLiteral("2 Ренумерация (1->100) 3"), QStringLiteral("1 Правка в редакторе 3")}));
        restoreRow(dialog, 1);
        EXPECT_EQ(rows(dialog).size(), 3) << "the restore took a point of its own";
        EXPECT_EQ(rows(dialog).front(), QStringLiteral("3 Восстановление точки 1 3"));
        auto* list = dialog->findChild<QTreeWidget*>(QStringLiteral("PointList"));
        for (int column = 0; column < 4; ++column)
            EXPECT_GT(list->columnWidth(column), list->fontMetrics().horizontalAdvance(list->topLevelItem(0)->text(column)))
                << "column " << column << " is cut";
    });
    chooseMore("Точки восстановления…");
    ASSERT_EQ(MessageBox::shownTexts().size(), 2) << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(MessageBox::shownTexts()[0].contains(QStringLiteral("точке №1"))) << "the question names the point";
    EXPECT_TRUE(MessageBox::shownTexts()[0].contains(QStringLiteral("Правка в редакторе")));
    EXPECT_TRUE(MessageBox::shownTexts()[1].startsWith(QStringLiteral("База восстановлена.")));
    EXPECT_EQ(edit("EditName")->text(), QStringLiteral("Gamma")) << "the editor stays on its game, restored at once";
    EXPECT_EQ(games().recordNumber(), 3);
    games().first();
    EXPECT_EQ(field("Name"), "Alpha");
    EXPECT_EQ(games().recordCount(), 3);
}

// What was typed before a tool is saved before the tool's point is taken:
// putting the tool's point back undoes the tool and keeps the typing.
TEST_F(RestorePointsWindowTest, AToolsPointKeepsWhatWasTypedBeforeIt) {
    addGames({{"Alpha", "a", ""}});
    const fs::path list = home_ / "list.txt";
    std::ofstream(list, std::ios::binary) << "Beta;u\r\nGamma;u\r\n";
    open();
    edit("EditName")->end(false);
    QTest::keyClicks(edit("EditName"), QStringLiteral(" II"));
    FileDialog::queueAnswer(QString::fromStdString(list.string()));
    click(control<QPushButton>("Button17"));
    ASSERT_EQ(games().recordCount(), 3);
    ASSERT_EQ(points().size(), 2u);
    EXPECT_EQ(points().back().what, "Merge: list.txt");

    inPointsWindow([](RestorePointsDialog* dialog) { restoreRow(dialog, 0); });
    chooseMore("Точки восстановления…");
    EXPECT_EQ(games().recordCount(), 1);
    games().first();
    EXPECT_EQ(field("Name"), "Alpha II");
    FileDialog::clear();
}

TEST_F(RestorePointsWindowTest, TheMainWindowRestoresTheChosenBaseAndEscChangesNothing) {
    addGames({{"Alpha", "a", ""}});
    windows_->form1()->show();
    windows_->form1()->FormActivate();
    combo()->setEditText(QStringLiteral("Games"));
    MessageBox::queueAnswer(MessageBox::Answer::Yes);
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("Button3")));
    ASSERT_EQ(points().size(), 1u);
    EXPECT_EQ(points().front().what, "Очистка базы");

    inPointsWindow([](RestorePointsDialog* dialog) {
        EXPECT_EQ(rows(dialog), QStringList{QStringLiteral("1 Очистка базы 1")});
        EXPECT_EQ(dialog->findChild<QTreeWidget*>(QStringLiteral("PointList"))->accessibleName(),
                  QStringLiteral("Точки восстановления базы, новые сверху:"));
    });
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("ButtonPoints")));
    EXPECT_EQ(points().size(), 1u) << "Esc restores nothing";

    // A point the command line took is told in the window's words, and a
    // game table spoilt since does not stand in the way of the restore.
    std::ofstream(home_ / "games.csv", std::ios::binary) << "Name\r\nBeta\r\nGamma\r\n";
    ASSERT_EQ(gamarium::testing::runCommand(std::string(GAMARIUM_CLI) + " --home '" + home_.string() +
                                            "' import Games '" + (home_ / "games.csv").string() + "'")
                  .exitCode,
              0);
    std::ofstream(store::basesFolder(home_) / "games.db", std::ios::binary | std::ios::trunc) << "<html></html>";
    inPointsWindow([](RestorePointsDialog* dialog) {
        EXPECT_EQ(rows(dialog).front(), QStringLiteral("2 Импорт CSV: games.csv 0"));
        restoreRow(dialog, 1);
    });
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("ButtonPoints")));
    ASSERT_TRUE(MessageBox::shownTexts().last().startsWith(QStringLiteral("База восстановлена.")))
        << MessageBox::shownTexts().last().toStdString();
    store::Table table(store::basesFolder(home_), "games.db");
    table.open();
    EXPECT_EQ(table.recordCount(), 1);
}

// Made anew through the dialog: a point of the old tables first, and the
// base listed once.
TEST_F(RestorePointsWindowTest, ReplacingABaseInTheDialogTakesAPointAndListsItOnce) {
    addGames({{"Alpha", "a", ""}});
    windows_->form1()->show();
    windows_->form1()->FormActivate();
    whenModal([this] {
        TPasswordDlg* dialog = windows_->passwordDlg();
        dialog->findChild<QLineEdit*>(QStringLiteral("Edit1"))->setText(QStringLiteral("games"));
        MessageBox::queueAnswer(MessageBox::Answer::Yes);
        click(dialog->findChild<QPushButton*>(QStringLiteral("OKBtn")));
    });
    click(windows_->form1()->findChild<QPushButton*>(QStringLiteral("Button2")));
    ASSERT_EQ(points().size(), 1u);
    EXPECT_EQ(points().front().what, "Создание базы заново");
    EXPECT_EQ(points().front().games.records, 1);
    EXPECT_EQ(combo()->count(), 1);
    EXPECT_EQ(files::readFile(home_ / "bases.ini"), "Games\r\n");
}

} // namespace
} // namespace gamarium::gui::testing
