#pragma once

#include <string>

class QLabel;

namespace gamarium::gui {

class Windows;

// Loads the file picfolder + name into a picture view at the picture's own
// size, and shows the editor's preview panel; hides that panel instead when
// no such file exists (the view then keeps its picture). A file that cannot
// be decoded leaves the view empty, 0 x 0, without a message.
void picl(Windows& windows, const std::string& name, QLabel* view);

} // namespace gamarium::gui
