#include "app/application.h"

#include "error.h"
#include "widgets/message_box.h"

namespace gamarium::gui {

// No display name is set: the window system would append it to every
// window's caption.
Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Gamarium"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        MessageBox::error(activeWindow(), QString::fromUtf8(error.what()));
        return false;
    }
}

} // namespace gamarium::gui
