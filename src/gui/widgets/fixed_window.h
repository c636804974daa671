#pragma once

class QWidget;

namespace gamarium::gui {

// Gives a window its fixed client size and the program's window font
// (MS Sans Serif 8 pt, or the system's sans-serif where that is missing).
void makeFixedWindow(QWidget* window, int clientWidth, int clientHeight);

// The font of a control at a point size, bold or not; the face stays.
void setFontOf(QWidget* control, int points, bool bold);

// Places a window at the centre of the primary screen.
void centerOnScreen(QWidget* window);

} // namespace gamarium::gui
