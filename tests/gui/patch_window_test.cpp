#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "gui/app/main_window.h"
#include "gui/editor/editor_window.h"
#include "gui/patches/patch_window.h"
#include "gui/widgets/navigator_bar.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <optional>

namespace gamarium::gui::testing {
namespace {

struct PatchRow {
    std::optional<int> n;
    const char* patch;
};

class PatchWindowTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        store::createBase(home_, "Games", false);
    }

    // One game linking to `link` (nullopt: Patch left empty) and these
    // patches; then the tables opened as the record editor opens them.
    void openBase(std::optional<int> link, const std::vector<PatchRow>& rows) {
        editor()->FormClose();
        link_ = link.value_or(0);
        store::createBase(home_, "Games", true);
        store::Table games(store::basesFolder(home_), "games.db");
        games.open();
        games.append();
        games.fieldByName("N").setAsInteger(1);
        if (link) games.fieldByName("Patch").setAsInteger(*link);
        games.post();
        games.close();
        store::Table patches(store::basesFolder(home_), "games_patch.db");
        patches.open();
        for (const PatchRow& row : rows) {
            patches.append();
            if (row.n) patches.fieldByName("N").setAsInteger(*row.n);
            patches.fieldByName("Patch").setAsString(text::StoredText::fromCp1251(row.patch));
            patches.post();
        }
        patches.close();
        editor()->FormShow("Games");
    }

    // Shows the window modally as the patch link does and runs `step` in
    // it; the window is put away afterwards if the step left it open.
    // Returns what the window gave.
    std::optional<std::string> runModal(const std::function<void()>& step) {
        bool ran = false;
        whenModal([&] {
            ran = true;
            step();
            if (window()->isVisible()) window()->hide();
        });
        const std::optional<text::StoredText> chosen = window()->pick(patches(), link_);
        EXPECT_TRUE(ran);
        return chosen ? std::optional<std::string>(chosen->bytes()) : std::nullopt;
    }

    TForm2* editor() { return windows_->form2(); }
    TForm3* window() { return windows_->form3(); }
    store::Table& patches() { return editor()->session()->patches(); }
    std::string field(const char* name) { return patches().fieldByName(name).asString().bytes(); }
    template <class T = QWidget> T* control(const char* name) {
        return window()->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    std::int64_t link_ = 0;
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    void type(const char* box, const QString& text) {
        edit(box)->selectAll();
        QTest::keyClicks(edit(box), text);
    }
};

TEST_F(PatchWindowTest, PlusAndOkOnAnEmptyPatchTable) {
    openBase(std::nullopt, {});
    runModal([&] {
        click(button("Button2"));
        EXPECT_EQ(patches().recordCount(), 1) << "a blank record written first";
        EXPECT_EQ(patches().state(), store::TableState::Insert);
        EXPECT_EQ(edit("EditN")->text(), QStringLiteral("1"));
        EXPECT_EQ(edit("EditPatch")->text(), QString());
        type("EditPatch", QStringLiteral("Rus 1.0"));
        click(button("Button1"));
        EXPECT_FALSE(window()->isVisible());
    });
    EXPECT_EQ(patches().recordCount(), 2);
    EXPECT_EQ(patches().recordNumber(), 2);
    EXPECT_EQ(field("N"), "1");
    EXPECT_EQ(field("Patch"), "Rus 1.0");
    patches().first();
    EXPECT_TRUE(patches().fieldByName("N").isNull());
    EXPECT_EQ(field("Patch"), "");

    openBase(std::nullopt, {});
    EXPECT_EQ(runModal([&] { click(button("Button1")); }), std::string()) << "its N is empty";
    EXPECT_EQ(patches().recordCount(), 1) << "OK alone writes one blank record";
    EXPECT_EQ(patches().state(), store::TableState::Browse);
    for (const char* name : {"N", "Patch", "Size", "Proc", "Text", "Autor", "Year"})
        EXPECT_TRUE(patches().fieldByName(name).isNull()) << name;
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty());
}

TEST_F(PatchWindowTest, PlusNumbersAfterTheLastRecord) {
    struct Case {
        std::vector<PatchRow> rows;
        QString n;        // in the box of the record begun
        QString message;  // the table layer's refusal, if any
    };
    const Case cases[] = {
        {{{1, "a"}, {2, "b"}}, QStringLiteral("3"), {}},
        {{{1, "a"}, {std::nullopt, "b"}}, QStringLiteral("1"), {}},
        {{{32767, "a"}},
         {},
         QStringLiteral("32768 is not a valid value for field 'N'. The allowed range is -32768 to 32767")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n.toStdString());
        openBase(1, c.rows);
        MessageBox::clearShownTexts();
        runModal([&] {
            click(button("Button2"));
            EXPECT_TRUE(window()->isVisible());
        });
        EXPECT_EQ(MessageBox::shownTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(edit("EditN")->text(), QString()) << "the boxes let go of the table when hidden";
        EXPECT_EQ(patches().state(), store::TableState::Insert);
        EXPECT_EQ(field("N"), c.n.toStdString());
        EXPECT_EQ(patches().recordCount(), static_cast<int>(c.rows.size()));
    }
}

TEST_F(PatchWindowTest, OpensOnThePatchTheGameLinksTo) {
    const std::vector<PatchRow> rows = {{1, "first"}, {2, "second"}, {3, "third"}};
    const std::pair<std::optional<int>, QString> cases[] = {
        {3, QStringLiteral("third")}, {2, QStringLiteral("second")}, {1, QStringLiteral("first")},
        {0, QStringLiteral("first")}, {std::nullopt, QStringLiteral("first")}, {-4, QStringLiteral("first")},
        {4, QStringLiteral("third")}, {100000, QStringLiteral("third")},
    };
    // Each case reopens the base, so the window also follows each new patch table.
    for (const auto& [link, shown] : cases) {
        SCOPED_TRACE(link.value_or(-999));
        openBase(link, rows);
        const QString& expected = shown; // Clang 14 captures no structured bindings
        runModal([&] { EXPECT_EQ(edit("EditPatch")->text(), expected); });
        EXPECT_EQ(field("Patch"), shown.toStdString());
    }
    openBase(2, {});
    runModal([&] { EXPECT_EQ(edit("EditPatch")->text(), QString()); });
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
}

TEST_F(PatchWindowTest, ClosingAsksAboutAChangeNotYetWritten) {
    struct Case {
        const char* how;
        bool plus;       // "+" first, else a change typed into the linked record
        bool escape;     // Esc, else the close box
        MessageBox::Answer answer;
        int count;
        const char* patch; // of the current record afterwards
    };
    const Case cases[] = {
        {"+, close box, Yes", true, false, MessageBox::Answer::Yes, 3, "new"},
        {"+, Esc, No", true, true, MessageBox::Answer::No, 2, "b"},
        {"typed, Esc, Yes", false, true, MessageBox::Answer::Yes, 2, "new"},
        {"typed, close box, No", false, false, MessageBox::Answer::No, 2, "a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        openBase(1, {{1, "a"}, {2, "b"}});
        MessageBox::clearShownTexts();
        runModal([&] {
            if (c.plus) click(button("Button2"));
            focus(edit("EditPatch"));
            type("EditPatch", QStringLiteral("new"));
            MessageBox::queueAnswer(c.answer);
            if (c.escape)
                QTest::keyClick(edit("EditPatch"), Qt::Key_Escape);
            else
                window()->close();
            EXPECT_FALSE(window()->isVisible());
        });
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("Сохранить изменения?")});
        EXPECT_EQ(patches().state(), store::TableState::Browse);
        EXPECT_EQ(patches().recordCount(), c.count);
        EXPECT_EQ(field("Patch"), c.patch);
    }

    openBase(1, {{1, "a"}});
    MessageBox::clearShownTexts();
    runModal([&] { QTest::keyClick(window(), Qt::Key_Escape); });
    EXPECT_FALSE(window()->isVisible());
    EXPECT_TRUE(MessageBox::shownTexts().isEmpty()) << "nothing to ask about";
}

// The window has no default button: Enter in a box begins no patch and
// closes nothing.
TEST_F(PatchWindowTest, EnterInABoxGoesNoFurther) {
    openBase(1, {{1, "a"}});
    const std::optional<std::string> chosen = runModal([&] {
        focus(edit("EditPatch"));
        QTest::keyClick(edit("EditPatch"), Qt::Key_Return);
        QTest::keyClick(edit("EditPatch"), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_TRUE(window()->isVisible());
        EXPECT_EQ(patches().state(), store::TableState::Browse);
        EXPECT_EQ(patches().recordCount(), 1);
        for (const char* name : {"Button1", "Button2"}) EXPECT_FALSE(button(name)->isDefault()) << name;
        focus(button("Button2"));
        QTest::keyClick(button("Button2"), Qt::Key_Return);
        EXPECT_EQ(patches().state(), store::TableState::Insert) << "Enter on \"+\" presses it";
    });
    EXPECT_EQ(chosen, std::nullopt) << "put away without OK";
}

TEST_F(PatchWindowTest, ARefusedWriteKeepsTheWindowOpen) {
    openBase(1, {{1, "a"}});
    runModal([&] {
        type("EditYear", QStringLiteral("19x4"));
        click(button("Button1"));
        EXPECT_TRUE(window()->isVisible()) << "OK stops at the error";
        MessageBox::queueAnswer(MessageBox::Answer::Yes);
        window()->close();
        EXPECT_TRUE(window()->isVisible()) << "so does the close box's save";
    });
    EXPECT_EQ(MessageBox::shownTexts(),
              (QStringList{QStringLiteral("'19x4' is not a valid integer value for field 'Year'"),
                           QStringLiteral("Сохранить изменения?"),
                           QStringLiteral("'19x4' is not a valid integer value for field 'Year'")}));
}

TEST_F(PatchWindowTest, LooksAndControlsAsLaidOut) {
    openBase(1, {{1, "a"}});
    runModal([&] {
        EXPECT_EQ(window()->windowTitle(), QStringLiteral("Работа с базой патчей"));
        EXPECT_EQ(window()->size(), QSize(277, 242));
        EXPECT_EQ(window()->focusWidget(), control("Panel1"));
        EXPECT_EQ(control("Panel1")->height(), 41);
        EXPECT_EQ(control("DBNavigator")->size(), QSize(204, 33));
        const std::pair<const char*, int> limits[] = {{"EditPatch", 70}, {"EditText", 2}, {"EditAutor", 30}};
        for (const auto& [box, length] : limits) EXPECT_EQ(edit(box)->maxLength(), length) << box;
    });
    auto* navigator = control<NavigatorBar>("DBNavigator");
    using B = NavigatorBar::Button;
    for (const B shown : {B::First, B::Prior, B::Next, B::Last, B::Delete, B::Post})
        EXPECT_FALSE(navigator->button(shown)->isHidden()) << navigator->button(shown)->objectName().toStdString();
    EXPECT_TRUE(navigator->button(B::Insert)->isHidden());
    const std::tuple<const char*, const char*, int, bool> buttons[] = {{"Button2", "+", 24, false},
                                                                       {"Button1", "OK", 10, true}};
    for (const auto& [name, text, points, bold] : buttons) {
        EXPECT_EQ(button(name)->text(), QString::fromLatin1(text));
        EXPECT_EQ(button(name)->font().pointSize(), points) << name;
        EXPECT_EQ(button(name)->font().bold(), bold) << name;
    }
}

TEST_F(PatchWindowTest, BoxesAreNamedByTheirLabels) {
    const std::tuple<const char*, const char*, QString> named[] = {
        {"Label1", "EditN", QStringLiteral("N")},         {"Label2", "EditPatch", QStringLiteral("Патч")},
        {"Label3", "EditSize", QStringLiteral("Размер")}, {"Label4", "EditProc", QStringLiteral("%")},
        {"Label5", "EditText", QStringLiteral("Язык")},   {"Label6", "EditAutor", QStringLiteral("Автор")},
        {"Label7", "EditYear", QStringLiteral("Год")},
    };
    for (const auto& [label, box, text] : named) {
        EXPECT_EQ(control<QLabel>(label)->text(), text);
        EXPECT_EQ(control<QLabel>(label)->buddy(), edit(box)) << label;
        EXPECT_EQ(edit(box)->accessibleName(), text) << box;
        EXPECT_TRUE(control<QLabel>(label)->alignment() & Qt::AlignRight) << label;
        EXPECT_LT(control(label)->geometry().right(), edit(box)->x()) << "left of its box";
    }
    EXPECT_EQ(control<QLabel>("Label8")->text(), QStringLiteral("ur, ju, jr,..."));
    EXPECT_EQ(edit("EditText")->accessibleDescription(), QStringLiteral("ur, ju, jr,..."));
    EXPECT_FALSE(button("Button2")->accessibleName().isEmpty()) << "\"+\" is named for what it does";
}

} // namespace
} // namespace gamarium::gui::testing
