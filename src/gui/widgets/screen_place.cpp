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

SideBySide besideWindow(QRect owner, QSize frame, QSize least, QRect screen) {
    const int height = std::min(frame.height(), screen.height());
    const int top = keptWithin(owner.top(), height, screen.top(), screen.height());
    const int roomRight = screen.right() - owner.right();
    const int roomLeft = owner.left() - screen.left();
    const auto right = [&](int width) { return QRect(owner.right() + 1, top, width, height); };
    const auto left = [&](int width) { return QRect(owner.left() - width, top, width, height); };
    if (frame.width() <= roomRight) return {owner.topLeft(), right(frame.width())};
    if (frame.width() <= roomLeft) return {owner.topLeft(), left(frame.width())};
    if (std::max(roomRight, roomLeft) >= least.width())
        return {owner.topLeft(), roomRight >= roomLeft ? right(roomRight) : left(roomLeft)};
    // The owner moves to the edge nearer to it; the window takes the rest.
    const int width = std::max(least.width(), std::min(frame.width(), screen.width() - owner.width()));
    const bool ownerLeft = roomLeft <= roomRight;
    const QPoint moved(ownerLeft ? screen.left() : std::max(screen.left(), screen.right() + 1 - owner.width()), owner.top());
    owner.moveTopLeft(moved);
    return {moved, ownerLeft ? QRect(std::min(owner.right() + 1, screen.right() + 1 - width), top, width, height)
                             : QRect(std::max(owner.left() - width, screen.left()), top, width, height)};
}

void keepOnScreen(QWidget* window, QPoint designed) {
    if (const QScreen* screen = window->screen())
        window->move(keptOnScreen(designed, window->frameGeometry().size(), screen->availableGeometry()));
}

} // namespace gamarium::gui
