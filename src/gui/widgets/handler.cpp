#include "gui/widgets/handler.h"

#include "core/error.h"
#include "gui/widgets/message_box.h"

#include <QWidget>

#include <new>

namespace gamarium::gui {

bool runHandler(QWidget* window, const std::function<void()>& handler) noexcept {
    QString message;
    try {
        handler();
        return true;
    } catch (const Error& error) {
        message = QString::fromUtf8(error.what());
    } catch (const std::bad_alloc&) {
        message = QStringLiteral("Недостаточно памяти для выполнения операции.");
    } catch (const std::exception& error) {
        message = QStringLiteral("Внутренняя ошибка программы: %1").arg(QString::fromUtf8(error.what()));
    }
    // Showing the message needs memory too; without it the message is lost,
    // the program goes on all the same.
    try {
        MessageBox::error(window ? window->window() : nullptr, message);
    } catch (...) {
    }
    return false;
}

} // namespace gamarium::gui
