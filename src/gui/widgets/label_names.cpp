#include "gui/widgets/label_names.h"

#include <QLabel>
#include <QRegularExpression>

namespace gamarium::gui {

namespace {

// A label's text as it reads: "&Найти:" is "Найти:", "&&" an ampersand.
QString withoutMnemonic(QString text) {
    static const QRegularExpression mnemonic(QStringLiteral("&(.)"));
    return text.replace(mnemonic, QStringLiteral("\\1"));
}

} // namespace

void nameControlsByTheirLabels(QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* control = label->buddy();
        if (control && control->accessibleName().isEmpty()) control->setAccessibleName(withoutMnemonic(label->text()));
    }
}

void nameControl(QWidget* control, const QString& name) {
    control->setAccessibleName(name);
    control->setToolTip(name);
}

} // namespace gamarium::gui
