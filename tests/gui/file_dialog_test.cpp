#include "core/error.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/qt_text.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QLabel>

namespace gamarium::gui::testing {
namespace {

// The file and folder dialogs that Qt draws speak Russian like the windows.
TEST(FileDialogTest, QtsOwnDialogsSpeakRussian) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
        const auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        const QString text = label->text();
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](QChar c) { return c.script() == QChar::Script_Cyrillic; }))
            << name << ": " << text.toStdString();
    }
}

TEST(FileDialogTest, FiltersTakeQtsForm) {
    struct Case {
        QString filter;
        QString qt;
    };
    const Case cases[] = {
        // "*.*" is every file, also one without an extension.
        {QStringLiteral("Шаблоны|*.htd|Все файлы|*.*"), QStringLiteral("Шаблоны (*.htd);;Все файлы (*)")},
        {QStringLiteral("*.*|*.*|*.txt|*.txt"), QStringLiteral("*.* (*);;*.txt (*.txt)")},
        {QStringLiteral("Списки|*.txt; *.lst"), QStringLiteral("Списки (*.txt *.lst)")},
        {QStringLiteral("Картинки|*.png;*.jpg|"), QStringLiteral("Картинки (*.png *.jpg)")},
        {QString(), QString()},
    };
    for (const Case& c : cases) EXPECT_EQ(FileDialog::qtFilter(c.filter), c.qt) << c.filter.toStdString();
}

// A dialog opens where the user last chose something in it, else where
// the caller starts it (templates/ for a template), else at home.
TEST(FileDialogTest, OpensWhereTheSameDialogWasLastLeft) {
    FileDialog::clear();
    const QString title = QStringLiteral("Выбор шаблона");
    const QString templates = QStringLiteral("/program/templates");
    FileDialog::queueAnswer(QStringLiteral("/sites/snes/site.htd"));
    FileDialog::openFile(nullptr, title, QStringLiteral("F|*.*"), templates);
    FileDialog::queueAnswer(std::nullopt);
    FileDialog::openFile(nullptr, title, QStringLiteral("F|*.*"), templates);
    FileDialog::openFolder(nullptr, QStringLiteral("Папка с картинками"));
    const QList<FileDialog::Request> shown = FileDialog::shownRequests();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].folder, templates);
    EXPECT_EQ(shown[1].folder, QStringLiteral("/sites/snes"));
    EXPECT_EQ(shown[2].folder, QDir::homePath());
    FileDialog::clear();
}

TEST(FileDialogTest, AnswersComeFromTheQueueInOrder) {
    FileDialog::clear();
    FileDialog::queueAnswer(QStringLiteral("/a.htd"));
    FileDialog::queueAnswer(std::nullopt);
    EXPECT_EQ(FileDialog::openFile(nullptr, QStringLiteral("T"), QStringLiteral("F|*.*")), QStringLiteral("/a.htd"));
    EXPECT_EQ(FileDialog::openFile(nullptr, QStringLiteral("T"), QStringLiteral("F|*.*")), std::nullopt);
    EXPECT_EQ(FileDialog::openFile(nullptr, QStringLiteral("U"), QStringLiteral("F|*.*")), std::nullopt)
        << "nothing queued: cancelled";
    ASSERT_EQ(FileDialog::shownRequests().size(), 3);
    EXPECT_EQ(FileDialog::shownRequests()[2].title, QStringLiteral("U"));
    FileDialog::clear();

    // Several files, a folder (the first file queued), and their cancels.
    const QStringList two = {QStringLiteral("/a.dat"), QStringLiteral("/b.dat")};
    FileDialog::queueFiles(two);
    FileDialog::queueAnswer(QStringLiteral("/pictures"));
    FileDialog::queueAnswer(std::nullopt);
    EXPECT_EQ(FileDialog::openFiles(nullptr, QStringLiteral("T"), QStringLiteral("F|*.*")), two);
    EXPECT_EQ(FileDialog::openFolder(nullptr, QStringLiteral("D")), QStringLiteral("/pictures"));
    EXPECT_EQ(FileDialog::openFiles(nullptr, QStringLiteral("T"), QStringLiteral("F|*.*")), std::nullopt);
    EXPECT_EQ(FileDialog::openFolder(nullptr, QStringLiteral("D")), std::nullopt);
    EXPECT_EQ(FileDialog::shownRequests()[1].filter, QString()) << "a folder dialog has no filter";
    FileDialog::clear();
}

TEST(QtTextTest, MultiLineTextsEndTheirLinesWithCrLf) {
    struct Case {
        std::string program; // Windows-1251
        QString control;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", QStringLiteral("a\nb\n")},
        {"\r\n\r\n", QStringLiteral("\n\n")},
        {"one", QStringLiteral("one")},
        {"\xD8\xE0\xEF\xEA\xE0\r\n", QStringLiteral("Шапка\n")},
        {"", QString()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toQtLines(text::StoredText::fromCp1251(c.program)), c.control) << c.program;
        EXPECT_EQ(fromQtLines(c.control).bytes(), c.program) << c.program;
    }
    EXPECT_EQ(fromQtLines(QStringLiteral("a\r\nb")).bytes(), "a\r\nb") << "no CR doubled";
}

TEST(QtTextTest, TypedTextsRefuseWhatTheCodePageLacks) {
    EXPECT_EQ(typedText(QStringLiteral("Тетрис «1»"), "Поле").bytes(), "\xD2\xE5\xF2\xF0\xE8\xF1 \xAB" "1\xBB");
    EXPECT_EQ(typedText(QStringLiteral("?"), "Поле").bytes(), "?");
    for (const QString& text : {QStringLiteral("a☃"), QStringLiteral("中"), QStringLiteral("é\u0301")}) {
        try {
            typedText(text, "Поле «Name»");
            ADD_FAILURE() << text.toStdString();
        } catch (const Error& error) {
            EXPECT_TRUE(std::string(error.what()).starts_with("Поле «Name»: символ «")) << error.what();
            EXPECT_NE(std::string(error.what()).find("(U+"), std::string::npos) << error.what();
        }
    }
}

TEST(QtTextTest, ChosenFilesKeepEveryCharacter) {
    EXPECT_EQ(toPath(QStringLiteral("/tmp/шаблон ☃.htd")), std::filesystem::path(u8"/tmp/шаблон ☃.htd"));
}

} // namespace
} // namespace gamarium::gui::testing
