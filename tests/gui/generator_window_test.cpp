#include "core/files/files.h"
#include "core/session/base_session.h"
#include "core/store/catalogue.h"
#include "core/store/table.h"
#include "core/support/run_command.h"
#include "core/text/cp1251.h"
#include "gui/editor/editor_window.h"
#include "gui/pages/generator_window.h"
#include "gui/widgets/file_dialog.h"
#include "gui_fixture.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <fstream>
#include <map>

namespace gamarium::gui::testing {
namespace {

namespace fs = std::filesystem;

// Every file of a folder by name, with its bytes.
std::map<std::string, std::string> pagesIn(const fs::path& folder) {
    std::map<std::string, std::string> pages;
    for (const auto& entry : fs::directory_iterator(folder))
        pages[entry.path().filename().string()] = files::readFile(entry.path());
    return pages;
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// A PNG header declaring 256 x 224; the pixels are left out.
std::string pictureHeader() {
    return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\x01\0\0\0\0\xE0\x08\x02\0\0\0", 29);
}

class GeneratorWindowTest : public GuiTest {
protected:
    struct Game {
        const char* sid;
        const char* name; // UTF-8
        int patch = 0;    // 0: none
        const char* analog = "";
        const char* image = "";
    };

    void SetUp() override {
        GuiTest::SetUp();
        FileDialog::clear();
        store::createBase(home_, "Games", false);
        writeBytes(home_ / "images" / "Games" / "a" / "alpha.png", pictureHeader());
    }

    void fill(const std::vector<Game>& rows) {
        store::Table games(store::basesFolder(home_), store::gameTableName("games"));
        games.open();
        for (const Game& row : rows) {
            games.append();
            games.fieldByName("N").setAsInteger(games.recordCount() + 1);
            games.fieldByName("Sid").setAsString(text::StoredText::fromCp1251(row.sid));
            games.fieldByName("Name").setAsString(text::fromUtf8(row.name));
            games.fieldByName("Analog").setAsString(text::StoredText::fromCp1251(row.analog));
            games.fieldByName("Image1").setAsString(text::StoredText::fromCp1251(row.image));
            if (row.patch) games.fieldByName("Patch").setAsInteger(row.patch);
            games.post();
        }
        store::Table patches(store::basesFolder(home_), store::patchTableName("games"));
        patches.open();
        for (const char* language : {"ur", "ju"}) {
            patches.append();
            patches.fieldByName("N").setAsInteger(patches.recordCount() + 1);
            patches.fieldByName("Patch").setAsString(text::StoredText::fromCp1251(std::string(language) + ".zip"));
            patches.fieldByName("Text").setAsString(text::StoredText::fromCp1251(language));
            patches.post();
        }
    }

    // The tables opened as the record editor opens them.
    void openBase() { windows_->form2()->FormShow("Games"); }

    // A template file of Windows-1251 lines; returns its path.
    QString writeTemplate(const std::string& utf8) {
        const fs::path file = home_ / "шаблон.htd";
        writeBytes(file, text::fromUtf8(utf8).bytes());
        return QString::fromStdString(file.string());
    }

    // Shows the window modally over the open base (opened if need be) and
    // runs `step` in it.
    void runModal(const std::function<void()>& step) {
        if (!windows_->form2()->session()) openBase();
        bool ran = false;
        whenModal([&] {
            ran = true;
            step();
            if (window()->isVisible()) button("Button2")->click();
        });
        window()->run(*windows_->form2()->session());
        EXPECT_TRUE(ran);
        EXPECT_FALSE(window()->isVisible());
    }

    TForm4* window() { return windows_->form4(); }
    template <class T = QWidget> T* control(const char* name) {
        T* found = window()->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPushButton* button(const char* name) { return control<QPushButton>(name); }
    QPlainTextEdit* memo(const char* name) { return control<QPlainTextEdit>(name); }
    QString report() { return control<QLabel>("LabelReport")->text(); }
};

TEST_F(GeneratorWindowTest, StartsWithItsCaptionsAndDefaults) {
    EXPECT_EQ(window()->windowTitle(), QStringLiteral("Генератор страниц"));
    EXPECT_EQ(window()->size(), QSize(674, 574));
    struct Text {
        const char* control;
        QString text;
    };
    const Text texts[] = {
        {"Button11", QStringLiteral("Открыть шаблон страницы")},
        {"Label1", QStringLiteral("Описаний на страницу:")},
        {"Edit1", QStringLiteral("11")},
        {"Label2", QStringLiteral("Пути к патчам:")},
        {"Edit2", QStringLiteral("../../patch/snes/")},
        {"Edit3", QStringLiteral("../../patch/snes/ext/")},
        {"Label4", QStringLiteral("Путь к папке с картинками (на сайте)")},
        {"Edit5", QStringLiteral("i/")},
        {"Label3", QStringLiteral("Папка для создаваемых страничек:")},
        {"Edit4", QString::fromStdString((home_ / "site" / "").string())},
        {"Button1", QStringLiteral("Создать главные страницы")},
        {"Button2", QStringLiteral("Закрыть")},
    };
    for (const Text& t : texts) {
        QWidget* widget = control(t.control);
        ASSERT_NE(widget, nullptr);
        const QVariant text = widget->property("text");
        EXPECT_EQ(text.toString(), t.text) << t.control;
    }
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->title(), QStringLiteral(" Определения и настройки "));
    EXPECT_EQ(control<QGroupBox>("GroupBox2")->title(), QStringLiteral(" Текст "));
    EXPECT_EQ(control<QGroupBox>("GroupBox1")->width(), 241);
    EXPECT_EQ(control("Edit1")->width(), 36);
    EXPECT_EQ(control("Button1")->width(), 225);
    EXPECT_TRUE(button("Button11")->isDefault());
    EXPECT_EQ(memo("Memo5")->toPlainText(), QStringLiteral("Вставьте или удалите при желании:\n"
                                                          "$P - Путь к файлам (на сервере)\n"
                                                          "$N - Имя файла (неперименованного)\n"
                                                          "$R - Имя файла (переименованного)\n"
                                                          "$S - Размер файла"));
    const std::pair<const char*, QSize> memos[] = {
        {"Memo1", {417, 201}}, {"Memo2", {417, 145}}, {"Memo3", {417, 185}}};
    for (const auto& [name, size] : memos) {
        EXPECT_EQ(memo(name)->size(), size) << name;
        EXPECT_TRUE(memo(name)->toPlainText().isEmpty()) << name;
        EXPECT_EQ(memo(name)->lineWrapMode(), QPlainTextEdit::WidgetWidth) << name;
    }
}

TEST_F(GeneratorWindowTest, LoadsATemplateIntoTheThreeAreas) {
    const QString file = writeTemplate("$B\r\n<html>$LETTER\r\nШапка\r\n$b блок\r\n<p>$Name</p>\r\n$B\r\n</html>\r\n");
    runModal([&] {
        FileDialog::queueAnswer(file);
        button("Button11")->click();
        EXPECT_EQ(memo("Memo1")->toPlainText(), QStringLiteral("<html>$LETTER\nШапка\n"));
        EXPECT_EQ(memo("Memo2")->toPlainText(), QStringLiteral("<p>$Name</p>\n"));
        EXPECT_EQ(memo("Memo3")->toPlainText(), QStringLiteral("</html>\n"));

        FileDialog::queueAnswer(std::nullopt);
        button("Button11")->click();
        EXPECT_EQ(memo("Memo2")->toPlainText(), QStringLiteral("<p>$Name</p>\n")) << "a cancel changes nothing";

        FileDialog::queueAnswer(QString::fromStdString((home_ / "missing.htd").string()));
        click(button("Button11"));
        EXPECT_TRUE(memo("Memo1")->toPlainText().isEmpty()) << "emptied before the file failed";
        EXPECT_EQ(MessageBox::shownTexts().size(), 1);
    });
    const QList<FileDialog::Request> shown = FileDialog::shownRequests();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].title, QStringLiteral("Выбор шаблона"));
    EXPECT_EQ(shown[0].filter, QStringLiteral("Шаблоны|*.htd|Все файлы|*.*"));
}

TEST_F(GeneratorWindowTest, WritesTheSamePagesAsTheCommandLine) {
    fill({
        {.sid = "a", .name = "Alpha", .patch = 1, .image = "alpha.png"},
        {.sid = "a", .name = "Arkanoid"},
        {.sid = "a", .name = "Axelay", .analog = "Other (x)"},
        {.sid = "b", .name = "Бэтмен", .patch = 2},
        {.sid = "num", .name = "1942"},
    });
    const QString templateFile = writeTemplate("$B\r\n<h1>$LETTER</h1>$LETTERLIST\r\n$PAGES\r\n$B\r\n"
                                               "<p>$Name $Width $Patch</p>\r\n$B\r\n$PAGES</body>\r\n");
    const fs::path fromCli = home_ / "cli-site";
    const fs::path fromWindow = home_ / "window-site";
    fs::create_directories(fromCli);
    fs::create_directories(fromWindow);
    const gamarium::testing::CommandResult cli =
        gamarium::testing::runCommand(std::string(GAMARIUM_CLI) + " --home '" + home_.string() + "' pages Games '" +
                                      templateFile.toStdString() + "' '" + fromCli.string() + "' --per-page 2 2>'" +
                                      (home_ / "stderr.txt").string() + "'");
    ASSERT_EQ(cli.exitCode, 0) << files::readFile(home_ / "stderr.txt");
    EXPECT_EQ(cli.out, "Записано страниц: 6, без изменений: 0\n");
    EXPECT_EQ(files::readFile(home_ / "stderr.txt"), "!!!!!!!!!!!!!\n");

    openBase();
    runModal([&] {
        FileDialog::queueAnswer(templateFile);
        click(button("Button11"));
        control<QLineEdit>("Edit1")->setText(QStringLiteral("2"));
        control<QLineEdit>("Edit4")->setText(QString::fromStdString(fromWindow.string()));
        click(button("Button1"));
        EXPECT_EQ(report(), QStringLiteral("Записано страниц: 6, без изменений: 0"));
        EXPECT_EQ(control<QProgressBar>("ProgressBar1")->value(), 6);
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("!!!!!!!!!!!!!")});
        for (const char* name : {"Button11", "Button1", "Button2"}) EXPECT_TRUE(button(name)->isEnabled()) << name;

        // While the pages are written the buttons are off and Esc does not close.
        bool duringRun = false;
        QTimer::singleShot(0, [&] {
            duringRun = true;
            for (const char* name : {"Button11", "Button1", "Button2"}) EXPECT_FALSE(button(name)->isEnabled()) << name;
            window()->reject();
            EXPECT_TRUE(window()->isVisible());
        });
        button("Button1")->click();
        EXPECT_TRUE(duringRun);
        EXPECT_EQ(report(), QStringLiteral("Записано страниц: 0, без изменений: 6"));
    });
    const auto windowPages = pagesIn(fromWindow);
    EXPECT_EQ(windowPages.size(), 6u);
    EXPECT_EQ(windowPages, pagesIn(fromCli));
    EXPECT_NE(windowPages.at("a.htm").find("<p>Alpha 256 "), std::string::npos) << windowPages.at("a.htm");
    EXPECT_EQ(windowPages.count("ru.htm"), 1u);
    EXPECT_EQ(windowPages.count("dejap.htm"), 1u);
    windows_->form2()->FormClose();
}

TEST_F(GeneratorWindowTest, RefusesWithoutAGameBlock) {
    fill({{.sid = "a", .name = "Alpha"}});
    openBase();
    const fs::path site = home_ / "site";
    fs::create_directories(site);
    runModal([&] {
        memo("Memo1")->setPlainText(QStringLiteral("<html>"));
        // The template is checked first, whatever the boxes hold.
        control<QLineEdit>("Edit1")->setText(QStringLiteral("x"));
        click(button("Button1"));
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{QStringLiteral("Открой файл сначала!")});
        EXPECT_TRUE(report().isEmpty());
    });
    EXPECT_TRUE(fs::is_empty(site));
    windows_->form2()->FormClose();
}

} // namespace
} // namespace gamarium::gui::testing
