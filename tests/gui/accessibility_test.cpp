#include "gui/app/main_window.h"
#include "gui/app/new_base_dialog.h"
#include "gui/pictures/chooser_window.h"
#include "gui_fixture.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>

namespace gamarium::gui::testing {
namespace {

using AccessibilityTest = GuiTest;

// What a screen reader reads out for each control.
TEST_F(AccessibilityTest, ControlsCarryTheirLabelsTextAndButtonsTheirOwn) {
    struct Named {
        QWidget* window;
        const char* control;
        const char* label; // the label naming it on screen, if any
        QString name;
    };
    const Named controls[] = {
        {windows_->form1(), "ComboBox1", "Label1", QStringLiteral("База данных:")},
        {windows_->form1(), "Memo1", nullptr, QStringLiteral("О программе")},
        {windows_->passwordDlg(), "Edit1", "Label1", QStringLiteral("Введите название новой базы данных:")},
        {windows_->fopen(), "ListBox1", nullptr, QStringLiteral("Файлы картинок")},
        {windows_->fopen(), "Image1", nullptr, QStringLiteral("Просмотр картинки")},
    };
    for (const Named& named : controls) {
        auto* control = named.window->findChild<QWidget*>(QString::fromLatin1(named.control));
        ASSERT_NE(control, nullptr) << named.control;
        EXPECT_EQ(control->accessibleName(), named.name) << named.control;
        if (named.label) {
            auto* label = named.window->findChild<QLabel*>(QString::fromLatin1(named.label));
            ASSERT_NE(label, nullptr) << named.label;
            EXPECT_EQ(label->text(), named.name);
            EXPECT_EQ(label->buddy(), control) << named.label;
        }
    }

    for (const QWidget* window : windows_->all()) {
        for (QPushButton* button : window->findChildren<QPushButton*>()) {
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
            ASSERT_NE(accessible, nullptr);
            EXPECT_FALSE(button->text().isEmpty()) << button->objectName().toStdString();
            // A button whose text says nothing ("...", ">") is named for what it does.
            const QString expected = button->accessibleName().isEmpty() ? button->text() : button->accessibleName();
            EXPECT_EQ(accessible->text(QAccessible::Name), expected);
            EXPECT_FALSE(expected == QStringLiteral("...")) << button->objectName().toStdString();
        }
    }
}

} // namespace
} // namespace gamarium::gui::testing
