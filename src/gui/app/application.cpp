#include "gui/app/application.h"

#include <QFont>

namespace gamarium::gui {

// No display name is set: the window system would append it to every
// window's caption.
Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Gamarium"));
    // The windows name Windows fonts; metric-compatible faces keep their
    // texts in the sizes the windows were laid out for.
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"));
}

} // namespace gamarium::gui
