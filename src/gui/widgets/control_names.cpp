#include "widgets/control_names.h"

#include <QLabel>

namespace gamarium::gui {

void nameAfterLabel(QLabel* label, QWidget* control, const QString& detail) {
    QString name = label->text();
    if (name.endsWith(QLatin1Char(':'))) name.chop(1);
    if (!detail.isEmpty()) name += QStringLiteral(": ") + detail;
    control->setAccessibleName(name);
    label->setBuddy(control);
}

void nameControl(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    control->setToolTip(name);
}

void setFontOf(QWidget* control, int points, bool bold) {
    QFont font = control->font();
    font.setPointSize(points);
    font.setBold(bold);
    control->setFont(font);
}

} // namespace gamarium::gui
