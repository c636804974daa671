#include "widgets/label_names.h"

#include <QLabel>

namespace gamarium::gui {

void nameControlsByTheirLabels(QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* control = label->buddy();
        if (control && control->accessibleName().isEmpty()) control->setAccessibleName(label->text());
    }
}

void nameControl(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    control->setToolTip(name);
}

} // namespace gamarium::gui
