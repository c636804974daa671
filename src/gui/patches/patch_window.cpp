#include "patches/patch_window.h"

#include "widgets/fixed_window.h"

namespace gamarium::gui {

TForm3::TForm3(Windows&) {
    setObjectName(QStringLiteral("TForm3"));
    setWindowTitle(QStringLiteral("Работа с базой патчей"));
    makeFixedWindow(this, 277, 242);
}

} // namespace gamarium::gui
