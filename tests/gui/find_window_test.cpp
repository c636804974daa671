#include "core/find/game_texts.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/support/temp_folder.h"
#include "core/text/cp1251.h"
#include "gui/find/find_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace gamarium::gui {
namespace {

class FindWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        store::Table::create(folder_.path(), "g.db", store::gameTableSchema());
        games_.open();
        const char* rows[][3] = {{"Contra", "Konami", "Братья по оружию"},
                                 {"Ёжик в тумане", "Союзмультфильм", "ёжик ищет лошадку"},
                                 {"Gradius", "KONAMI", "space shooter"}};
        for (const auto& row : rows) {
            games_.append();
            games_.fieldByName("Name").setAsString(text::fromUtf8(row[0]));
            games_.fieldByName("Publisher").setAsString(text::fromUtf8(row[1]));
            games_.fieldByName("Text1").setAsString(text::fromUtf8(row[2]));
            games_.post();
        }
        texts_.reload(games_);
        window_ = std::make_unique<FindWindow>([this] { return texts_.snapshot(); });
        window_->show();
    }

    QStringList shownNames() const {
        QStringList names;
        auto* list = window_->findChild<QTreeWidget*>(QStringLiteral("ListResults"));
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            names << list->topLevelItem(i)->text(2) + QLatin1Char('/') + list->topLevelItem(i)->text(4);
        return names;
    }
    QLineEdit* edit() const { return window_->findChild<QLineEdit*>(QStringLiteral("EditFind")); }

    gamarium::testing::TempFolder folder_;
    store::Table games_{folder_.path(), "g.db"};
    find::GameTexts texts_;
    std::unique_ptr<FindWindow> window_;
};

TEST_F(FindWindowTest, ResultsFollowTheTypingAndTheFieldChoice) {
    QTest::keyClicks(edit(), QStringLiteral("konam"));
    QTRY_COMPARE(shownNames(), (QStringList{QStringLiteral("Contra/Издатель"), QStringLiteral("Gradius/Издатель")}));
    edit()->clear();
    edit()->insert(QStringLiteral("ЕЖИК")); // as typed: QTest types only ASCII
    QTRY_COMPARE(shownNames(), (QStringList{QStringLiteral("Ёжик в тумане/Имя"), QStringLiteral("Ёжик в тумане/Описание")}));
    window_->findChild<QComboBox*>(QStringLiteral("ComboField"))->setCurrentText(QStringLiteral("Описание"));
    QTRY_COMPARE(shownNames(), (QStringList{QStringLiteral("Ёжик в тумане/Описание")}));
    // A character no game can hold finds nothing and says why.
    edit()->setText(QStringLiteral("ж☃"));
    QTRY_COMPARE(shownNames(), QStringList{});
    EXPECT_TRUE(window_->findChild<QLabel*>(QStringLiteral("LabelCount"))->text().contains(QStringLiteral("Windows-1251")));
}

TEST_F(FindWindowTest, EnterAndDoubleClickChooseTheGameOnceAndKeepTheWindow) {
    QSignalSpy chosen(window_.get(), &FindWindow::gameChosen);
    QTest::keyClicks(edit(), QStringLiteral("shooter"));
    QTRY_COMPARE(shownNames().size(), 1);
    QTest::keyClick(edit(), Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 1);
    auto* list = window_->findChild<QTreeWidget*>(QStringLiteral("ListResults"));
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(chosen.count(), 2);
    const QRect row = list->visualItemRect(list->topLevelItem(0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    ASSERT_EQ(chosen.count(), 3);
    for (const auto& arguments : chosen) EXPECT_EQ(arguments.at(0).value<std::size_t>(), 3u);
    EXPECT_TRUE(window_->isVisible());
}

TEST_F(FindWindowTest, AnEditFollowedByTheTextsIsFoundByTheNextSearch) {
    QTest::keyClicks(edit(), QStringLiteral("Nintendo"));
    QTRY_COMPARE(window_->findChild<QLabel*>(QStringLiteral("LabelCount"))->text(), QStringLiteral("Найдено: 0"));
    games_.moveToPosition(3);
    games_.edit();
    games_.fieldByName("Publisher").setAsString("Nintendo"_stored);
    games_.post();
    texts_.changed(3, games_);
    window_->refresh();
    QTRY_COMPARE(shownNames(), (QStringList{QStringLiteral("Gradius/Издатель")}));
}

TEST(FindWindowControls, EveryControlCarriesItsLabelAsItsName) {
    FindWindow window([] { return std::make_shared<const find::GameList>(); });
    const std::pair<const char*, QString> named[] = {{"EditFind", QStringLiteral("Найти:")},
                                                     {"ComboField", QStringLiteral("Где:")},
                                                     {"ListResults", QStringLiteral("Найденные игры")}};
    for (const auto& [control, name] : named)
        EXPECT_EQ(window.findChild<QWidget*>(QString::fromLatin1(control))->accessibleName(), name) << control;
}

} // namespace
} // namespace gamarium::gui
