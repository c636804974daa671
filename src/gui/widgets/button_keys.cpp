#include "gui/widgets/button_keys.h"

#include <QPushButton>

namespace gamarium::gui {

// An auto-default button takes Enter itself when focused (in a dialog it
// also shows as the default meanwhile); any other button lets Enter through
// to the dialog, which presses its default one instead.
void pressFocusedButtonOnEnter(QWidget* window) {
    for (QPushButton* button : window->findChildren<QPushButton*>()) button->setAutoDefault(true);
}

} // namespace gamarium::gui
