#include "core/error.h"
#include "gui/widgets/handler.h"
#include "gui_fixture.h"

#include <QPushButton>

#include <new>
#include <stdexcept>

namespace gamarium::gui::testing {
namespace {

// A handler's error ends that handler only: its message is shown and the
// next event is handled as usual. Nothing reaches Qt's event code.
TEST(HandlerTest, AnErrorFromAHandlerIsShownAndTheProgramGoesOn) {
    const std::pair<std::function<void()>, QString> failures[] = {
        {[] { throw Error("Нет такой базы"); }, QStringLiteral("Нет такой базы")},
        {[] { throw std::out_of_range("field 99"); }, QStringLiteral("Внутренняя ошибка программы: field 99")},
        {[] { throw std::bad_alloc(); }, QStringLiteral("Недостаточно памяти для выполнения операции.")},
    };
    for (const auto& [fail, message] : failures) {
        MessageBox::clearShownTexts();
        QPushButton button;
        bool after = false;
        const std::function<void()>& failing = fail; // Clang 14 captures no structured bindings
        onSignal(&button, &QPushButton::clicked, &button, [&failing, &after] {
            failing();
            after = true;
        });
        QTest::mouseClick(&button, Qt::LeftButton);
        EXPECT_EQ(MessageBox::shownTexts(), QStringList{message});
        EXPECT_FALSE(after) << "the rest of the handler is skipped";
        bool clicked = false;
        QPushButton next;
        onSignal(&next, &QPushButton::toggled, &next, [&](bool on) { clicked = on; });
        next.setCheckable(true);
        QTest::mouseClick(&next, Qt::LeftButton);
        EXPECT_TRUE(clicked) << "the signal's arguments reach the handler";
    }
    EXPECT_FALSE(runHandler(nullptr, [] { throw Error("x"); }));
    EXPECT_TRUE(runHandler(nullptr, [] {}));
}

} // namespace
} // namespace gamarium::gui::testing
