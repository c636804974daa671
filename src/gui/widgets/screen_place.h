#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace gamarium::gui {

// Where a window whose frame has the size `frame` goes when it was laid out
// for `designed`: there where all of it is on `screen`, else moved just
// enough to be (to the top left corner when it is larger than the screen).
QPoint keptOnScreen(QPoint designed, QSize frame, QRect screen);

// Where a window goes beside `owner` (frames on `screen`) so that it never
// covers it: right of it, else left of it, at its own size `frame`; else
// narrowed to the side with more room, when that leaves it `least`; else
// the owner moves along the screen just enough to make that room. Only a
// screen narrower than both at their least leaves them overlapping.
struct SideBySide {
    QPoint owner;  // the owner's frame's new place (the old one when it stays)
    QRect window;  // the window's frame
};
SideBySide besideWindow(QRect owner, QSize frame, QSize least, QRect screen);

// Moves a shown window by keptOnScreen, from `designed`, on its own screen.
void keepOnScreen(QWidget* window, QPoint designed);

} // namespace gamarium::gui
