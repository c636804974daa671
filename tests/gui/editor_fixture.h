#pragma once

#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "gui/app/main_window.h"
#include "gui/editor/editor_window.h"
#include "gui/widgets/navigator_bar.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace gamarium::gui::testing {

namespace fs = std::filesystem;

struct Game {
    std::string name, sid, image1;
};

class EditorTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        store::createBase(home_, "Games", false);
    }

    void addGames(const std::vector<Game>& games) {
        store::Table table(store::basesFolder(home_), "games.db");
        table.open();
        int n = 0;
        for (const Game& game : games) {
            table.append();
            table.fieldByName("N").setAsInteger(++n);
            table.fieldByName("Name").setAsString(text::StoredText::fromCp1251(game.name));
            table.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(game.sid));
            table.fieldByName("Image1").setAsString(text::StoredText::fromCp1251(game.image1));
            table.post();
        }
    }
    // A picture of its own colour in a game's picture folder.
    void savePicture(const std::string& sid, const char* name, QColor colour) {
        const fs::path folder = home_ / "images" / "Games" / sid;
        fs::create_directories(folder);
        QImage image(30, 20, QImage::Format_RGB32);
        image.fill(colour);
        ASSERT_TRUE(image.save(QString::fromStdString((folder / name).string())));
    }
    // Opens the editor on the base as "Доступ к таблице" does, without the modal loop.
    void open() {
        windows_->form1()->show();
        editor()->FormShow("Games");
        editor()->show();
    }

    TForm2* editor() { return windows_->form2(); }
    QComboBox* combo() { return windows_->form1()->findChild<QComboBox*>(QStringLiteral("ComboBox1")); }
    template <class T = QWidget> T* control(const char* name) {
        return editor()->findChild<T*>(QString::fromLatin1(name));
    }
    QLineEdit* edit(const char* name) { return control<QLineEdit>(name); }
    QComboBox* box(const char* name) { return control<QComboBox>(name); }
    QFrame* panel() { return editor()->previewPanel(); }
    bool previewShown() { return panel()->isVisibleTo(editor()); }
    QRgb previewColour() { return editor()->previewView()->pixmap().toImage().pixel(1, 1); }
    NavigatorBar* navigator() { return control<NavigatorBar>("DBNavigator"); }
    void press(NavigatorBar::Button which) { click(navigator()->button(which)); }
    store::Table& games() { return editor()->session()->games(); }
    store::Table& patches() { return editor()->session()->patches(); }
    std::string field(const char* name) { return games().fieldByName(name).asString().bytes(); }
    QColor colourOf(const char* name) { return control(name)->palette().color(QPalette::Base); }
    static QColor highlight() { return QColor(0xBB, 0xDD, 0xFF); }
    static QColor fresh() { return QApplication::palette().color(QPalette::Base); }
    static QColor visited() { return QApplication::palette().color(QPalette::Button); }
};

} // namespace gamarium::gui::testing
