#include "gui/widgets/screen_place.h"

#include <gtest/gtest.h>

namespace gamarium::gui::testing {
namespace {

// The editor (laid out at 200,107, its frame 388 x 596 or 726 x 596) on
// screens large and small.
TEST(ScreenPlace, AWindowStaysWhereDesignedOrMovesJustOntoTheScreen) {
    const struct {
        QSize frame;
        QRect screen;
        QPoint placed;
    } cases[] = {
        {{388, 596}, {0, 0, 1920, 1080}, {200, 107}},
        {{388, 596}, {0, 0, 1024, 600}, {200, 4}},
        {{726, 596}, {0, 0, 800, 600}, {74, 4}},
        {{388, 596}, {0, 0, 1024, 560}, {200, 0}},   // larger than the screen: its top stays in view
        {{388, 596}, {1920, 0, 1024, 600}, {1920, 4}}, // a second screen to the right
    };
    for (const auto& c : cases)
        EXPECT_EQ(keptOnScreen({200, 107}, c.frame, c.screen), c.placed) << c.screen.width() << "x" << c.screen.height();
}

// The find window (620 x 380, at least 280 x 240) beside the editor at
// 200,107 (388 or 726 wide, 596 high) never covers it: at its own size
// where the screen has room, narrowed where it has less, and where even
// that is not there the editor makes room.
TEST(ScreenPlace, TheFindWindowGoesBesideTheEditorNeverOverIt) {
    const struct {
        int editorWidth;
        QRect screen;
        QPoint editor;
        QRect find;
    } cases[] = {
        {726, {0, 0, 1920, 1080}, {200, 107}, {926, 107, 620, 380}},  // right of it
        {388, {0, 0, 1280, 1024}, {200, 107}, {588, 107, 620, 380}},
        {726, {0, 0, 1280, 1024}, {200, 107}, {926, 107, 354, 380}},  // narrowed on the right
        {388, {0, 0, 1024, 600}, {200, 107}, {588, 107, 436, 380}},
        {726, {0, 0, 1024, 600}, {298, 107}, {0, 107, 298, 380}},     // the editor makes room
        {726, {0, 0, 800, 600}, {74, 107}, {0, 107, 280, 380}},       // too small for both
    };
    for (const auto& c : cases) {
        const QRect editor(200, 107, c.editorWidth, 596);
        const SideBySide placed = besideWindow(editor, {620, 380}, {280, 240}, c.screen);
        EXPECT_EQ(placed.owner, c.editor) << c.editorWidth << " on " << c.screen.width();
        EXPECT_EQ(placed.window, c.find) << c.editorWidth << " on " << c.screen.width();
        if (c.screen.width() >= c.editorWidth + 280) {
            EXPECT_FALSE(placed.window.intersects(QRect(placed.owner, editor.size()))) << c.editorWidth;
        }
    }
    EXPECT_EQ(besideWindow(QRect(700, 107, 388, 596), {620, 380}, {280, 240}, QRect(0, 0, 1280, 1024)).window,
              QRect(80, 107, 620, 380))
        << "left of it";
}

} // namespace
} // namespace gamarium::gui::testing
