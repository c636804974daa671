#include "editor/editor_window.h"

#include "widgets/fixed_window.h"

namespace gamarium::gui {

TForm2::TForm2(Windows&) {
    setObjectName(QStringLiteral("TForm2"));
    setWindowTitle(QStringLiteral("Редактирование базы данных"));
    makeFixedWindow(this, 372, 557);
}

} // namespace gamarium::gui
