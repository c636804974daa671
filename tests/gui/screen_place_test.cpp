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

// The find window (620 x 380) beside the wide editor at 200,107, keeping
// the editor's tool group (x 576..896, y 130..275) in view.
TEST(ScreenPlace, TheFindWindowGoesBesideTheEditorOffItsTools) {
    const QRect editor(200, 107, 726, 596);
    const QRect tools(576, 130, 321, 146);
    const struct {
        QRect screen;
        QPoint placed;
    } cases[] = {
        {{0, 0, 1920, 1080}, {926, 107}},  // right of it
        {{0, 0, 1280, 1024}, {660, 276}},  // no room either side: below the tools
        {{0, 0, 1024, 600}, {404, 107}},   // no room below either: on the screen's edge
    };
    for (const auto& c : cases)
        EXPECT_EQ(besideWindow(editor, {620, 380}, c.screen, tools), c.placed) << c.screen.width();
    EXPECT_EQ(besideWindow(QRect(700, 107, 388, 596), {620, 380}, QRect(0, 0, 1280, 1024), tools), QPoint(80, 107))
        << "left of it";
}

} // namespace
} // namespace gamarium::gui::testing
