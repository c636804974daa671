#include "gui/app/main_window.h"
#include "gui/app/new_base_dialog.h"
#include "gui/editor/editor_window.h"
#include "gui/pages/generator_window.h"
#include "gui/patches/patch_window.h"
#include "gui/pictures/chooser_window.h"
#include "gui/tools/rename_dialog.h"
#include "gui_fixture.h"

#include <qpa/qplatformwindow.h>

namespace gamarium::gui::testing {
namespace {

// The caption a decorating window system (xcb, Windows) puts in the title
// bar: its platform window formats the window's title this way.
struct PlatformWindow : QPlatformWindow {
    using QPlatformWindow::formatWindowTitle;
};

QString titleBarText(const QWidget* window) {
    return PlatformWindow::formatWindowTitle(window->windowTitle(), QStringLiteral(" — "));
}

// Real message boxes for the length of a test.
struct RealMessageBoxes {
    RealMessageBoxes() { MessageBox::setTestMode(false); }
    ~RealMessageBoxes() { MessageBox::setTestMode(true); }
};

using WindowTitleTest = GuiTest;

TEST_F(WindowTitleTest, TitleBarsShowTheWindowsOwnCaptions) {
    const std::pair<QWidget*, QString> windows[] = {
        {windows_->form1(), QStringLiteral("Gamarium")},
        {windows_->passwordDlg(), QStringLiteral("Создание новой базы")},
        {windows_->fopen(), QStringLiteral("Выбор картинки")},
        {windows_->form2(), QStringLiteral("Редактирование базы данных")},
        {windows_->form3(), QStringLiteral("Работа с базой патчей")},
        {windows_->form4(), QStringLiteral("Генератор страниц")},
        {windows_->passwordDlg1(), QStringLiteral("Переименовываем игру")},
    };
    for (const auto& [window, caption] : windows) {
        EXPECT_EQ(window->windowTitle(), caption);
        EXPECT_EQ(titleBarText(window), caption);
    }
    EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Gamarium"));
}

TEST_F(WindowTitleTest, MessageBoxesShowTheirOwnCaptions) {
    const RealMessageBoxes real;
    const std::pair<std::function<void()>, QString> boxes[] = {
        {[] { MessageBox::confirm(nullptr, QStringLiteral("?")); }, QStringLiteral("Confirm")},
        {[] { MessageBox::error(nullptr, QStringLiteral("!")); }, QStringLiteral("Gamarium")},
    };
    for (const auto& [open, caption] : boxes) {
        QString title;
        QString titleBar;
        whenModal([&] {
            QWidget* box = QApplication::activeModalWidget();
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            titleBar = titleBarText(box);
            box->close();
        });
        open();
        EXPECT_EQ(title, caption);
        EXPECT_EQ(titleBar, caption);
    }
}

} // namespace
} // namespace gamarium::gui::testing
