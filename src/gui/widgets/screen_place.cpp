#include "gui/widgets/screen_place.h"

#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace gamarium::gui {
namespace {

int keptWithin(int at, int length, int from, int room) {
    return std::max(from, std::min(at, from + room - length));
}

} // namespace

QPoint keptOnScreen(QPoint designed, QSize frame, QRect screen) {
    return {keptWithin(designed.x(), frame.width(), screen.left(), screen.width()),
            keptWithin(designed.y(), frame.height(), screen.top(), screen.height())};
}

QPoint besideWindow(QRect owner, QSize frame, QRect screen, QRect keepClear) {
    const int top = keptWithin(owner.top(), frame.height(), screen.top(), screen.height());
    if (owner.right() + 1 + frame.width() <= screen.right() + 1) return {owner.right() + 1, top};
    if (owner.left() - frame.width() >= screen.left()) return {owner.left() - frame.width(), top};
    const int x = keptWithin(owner.right() + 1, frame.width(), screen.left(), screen.width());
    const int below = keepClear.bottom() + 1;
    if (below + frame.height() <= screen.bottom() + 1) return {x, std::max(top, below)};
    return {x, top};
}

void keepOnScreen(QWidget* window, QPoint designed) {
    if (const QScreen* screen = window->screen())
        window->move(keptOnScreen(designed, window->frameGeometry().size(), screen->availableGeometry()));
}

} // namespace gamarium::gui
