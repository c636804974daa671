#include "error.h"
#include "gui_fixture.h"

#include <QPushButton>

#include <new>
#include <stdexcept>

namespace gamarium::gui::testing {
namespace {

TEST(ApplicationTest, AnExceptionFromAHandlerIsShownAndTheProgramGoesOn) {
    const std::pair<std::function<void()>, QString> failures[] = {
        {[] { throw Error("Нет такой базы"); }, QStringLiteral("Нет такой базы")},
        {[] { throw std::out_of_range("field 99"); }, QStringLiteral("Внутренняя ошибка программы: field 99")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("Недостаточно памяти для выполнения операции.")},
    };
    for (const auto& [fail, message] : failures) {
        MessageBox::clearShownTexts();
        QPushButton button;
        QObject::connect(&button, &QPushButton::clicked, fail);
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{message});
        // The next event is handled as usual.
        bool clicked = false;
        QPushButton next;
        QObject::connect(&next, &QPushButton::clicked, [&] { clicked = true; });
        QTest::mouseClick(&next, Qt::LeftButton);
        EXPECT_TRUE(clicked);
    }
}

} // namespace
} // namespace gamarium::gui::testing
