#include "gui_fixture.h"

#include "gui/widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>

namespace gamarium::gui::testing {
namespace {

// Enter gives the box's default, Esc always "No": a question whose "Yes"
// is a risk (trusting a server's key, removing files) defaults to "No".
class MessageBoxTest : public GuiTest {};

TEST_F(MessageBoxTest, ConfirmationBoxesAnswerEnterWithTheirDefault) {
    const struct {
        MessageBox::Answer byDefault;
        Qt::Key key;
        bool answer;
    } cases[] = {
        {MessageBox::Answer::Yes, Qt::Key_Return, true},
        {MessageBox::Answer::No, Qt::Key_Return, false},
        {MessageBox::Answer::Yes, Qt::Key_Escape, false},
    };
    MessageBox::setTestMode(false);
    for (const auto& c : cases) {
        whenModal([key = c.key] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QTest::keyClick(box, key);
        });
        EXPECT_EQ(MessageBox::confirm(nullptr, QStringLiteral("Доверять?"), c.byDefault), c.answer) << c.key;
    }
    MessageBox::setTestMode(true);
}

} // namespace
} // namespace gamarium::gui::testing
