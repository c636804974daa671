#include "gui/widgets/key_position.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

namespace gamarium::gui::testing {
namespace {

// Qt's keys for the Cyrillic capitals И and Ш.
constexpr int kI = 0x0418;
constexpr int kSha = 0x0428;

// The key is told by its place on the keyboard, not by the letter it gives
// under the active layout.
TEST(KeyPositionTest, LettersAreToldByTheKeyWhateverTheLayout) {
    struct Case {
        const char* what;
        int key;
        quint32 scanCode;
        quint32 virtualKey;
        const char* platform;
        char latin;
        bool expected;
    };
    const Case cases[] = {
        {"B under an English layout", Qt::Key_B, 0, 0, "offscreen", 'B', true},
        {"И on the B key, X11", kI, 56, 0x6c9, "xcb", 'B', true},
        {"Ш on the I key, Wayland", kSha, 31, 0x6db, "wayland", 'I', true},
        {"И on the B key, Windows", kI, 0x30, 'B', "windows", 'B', true},
        {"И is not I", kI, 56, 0x6c9, "xcb", 'I', false},
        {"Alt on Windows has the scan code of B under X11", Qt::Key_Alt, 56, 0x12, "windows", 'B', false},
        {"a key without a code", kI, 0, 0, "xcb", 'B', false},
    };
    for (const Case& c : cases) {
        const QKeyEvent key(QEvent::KeyPress, c.key, Qt::ControlModifier, c.scanCode, c.virtualKey, 0);
        EXPECT_EQ(isLetterKey(key, c.latin, QString::fromLatin1(c.platform)), c.expected) << c.what;
    }
}

} // namespace
} // namespace gamarium::gui::testing
