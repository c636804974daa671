#include "app/application.h"

#include "error.h"
#include "widgets/message_box.h"

namespace gamarium::gui {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Gamarium"));
    setApplicationDisplayName(QStringLiteral("Gamarium"));
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
