#pragma once

class QWidget;

namespace gamarium::gui {

// Keys of the window's push buttons as on Windows: Enter (main or keypad)
// and Space press the focused button; with no button focused, Enter in a
// dialog presses its default button and Esc cancels it.
void pressFocusedButtonOnEnter(QWidget* window);

} // namespace gamarium::gui
