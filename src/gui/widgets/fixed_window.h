#pragma once

class QWidget;

namespace gamarium::gui {

// Gives a window its fixed client size and the program's window font
// (MS Sans Serif 8 pt, or the system's sans-serif where that is missing).
void makeFixedWindow(QWidget* window, int clientWidth, int clientHeight);

// Places a window at the centre of the primary screen.
void centerOnScreen(QWidget* window);

} // namespace gamarium::gui
