#pragma once

#include <QStringList>

class QComboBox;

namespace gamarium::gui {

// Gives an editable combo box another drop-down list. The text it shows,
// and the caret in it, stay as they are: a list is no value.
void refillKeepingText(QComboBox* box, const QStringList& items);

} // namespace gamarium::gui
