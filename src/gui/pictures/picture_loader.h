#pragma once

#include "core/files/files.h"

#include <string>

class QLabel;

namespace gamarium::gui {

// Loads the file `name` of `folder` (found whatever its letter case) into a
// picture view at the picture's own size. False when no such file exists:
// the view then keeps its picture. A file that cannot be decoded leaves
// the view empty, 0 x 0, without a message.
bool picl(const files::Path& folder, const text::StoredText& name, QLabel* view);

} // namespace gamarium::gui
