#include "app/application.h"

#include "error.h"
#include "widgets/message_box.h"

#include <QFont>

#include <new>

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

bool Application::notify(QObject* receiver, QEvent* event) {
    QString message;
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& error) {
        message = QString::fromUtf8(error.what());
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("Недостаточно памяти для выполнения операции.");
    } catch (const std::exception& error) {
        message = QStringLiteral("Внутренняя ошибка программы: %1").arg(QString::fromUtf8(error.what()));
    }
    MessageBox::error(activeWindow(), message);
    return false;
}

} // namespace gamarium::gui
