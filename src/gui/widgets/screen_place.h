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

// Where a window goes beside `owner` (a frame on the same screen): right of
// it where it fits on `screen`, else left of it; else at the screen's edge
// on the right, below `keepClear` (a part of the owner that must stay in
// view) where there is room for it there.
QPoint besideWindow(QRect owner, QSize frame, QRect screen, QRect keepClear);

// Moves a shown window by keptOnScreen, from `designed`, on its own screen.
void keepOnScreen(QWidget* window, QPoint designed);

} // namespace gamarium::gui
