#include "gui/widgets/fixed_window.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace gamarium::gui {

void makeFixedWindow(QWidget* window, int clientWidth, int clientHeight) {
    QFont font(QStringLiteral("MS Sans Serif"), 8);
    font.setStyleHint(QFont::SansSerif);
    window->setFont(font);
    window->setFixedSize(clientWidth, clientHeight);
    window->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint, true);
}

void setFontOf(QWidget* control, int points, bool bold) {
    QFont font = control->font();
    font.setPointSize(points);
    font.setBold(bold);
    control->setFont(font);
}

void centerOnScreen(QWidget* window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
    }
}

} // namespace gamarium::gui
