#include "tools/rename_dialog.h"

#include "widgets/fixed_window.h"

namespace gamarium::gui {

TPasswordDlg1::TPasswordDlg1(Windows&) {
    setObjectName(QStringLiteral("TPasswordDlg1"));
    setWindowTitle(QStringLiteral("Переименовываем игру"));
    makeFixedWindow(this, 281, 92);
}

} // namespace gamarium::gui
