#include "pictures/chooser_window.h"

#include "widgets/fixed_window.h"

namespace gamarium::gui {

TFopen::TFopen(Windows&) {
    setObjectName(QStringLiteral("TFopen"));
    setWindowTitle(QStringLiteral("Выбор картинки"));
    makeFixedWindow(this, 673, 318);
}

} // namespace gamarium::gui
