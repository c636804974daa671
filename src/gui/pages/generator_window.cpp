#include "pages/generator_window.h"

#include "widgets/fixed_window.h"

namespace gamarium::gui {

TForm4::TForm4(Windows&) {
    setObjectName(QStringLiteral("TForm4"));
    setWindowTitle(QStringLiteral("Генератор страниц"));
    makeFixedWindow(this, 674, 574);
}

} // namespace gamarium::gui
