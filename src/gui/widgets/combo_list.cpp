#include "gui/widgets/combo_list.h"

#include <QComboBox>
#include <QLineEdit>

namespace gamarium::gui {

void refillKeepingText(QComboBox* box, const QStringList& items) {
    const QString shown = box->currentText();
    const int caret = box->lineEdit() ? box->lineEdit()->cursorPosition() : 0;
    box->clear();
    box->addItems(items);
    box->setEditText(shown);
    if (box->lineEdit()) box->lineEdit()->setCursorPosition(caret);
}

} // namespace gamarium::gui
