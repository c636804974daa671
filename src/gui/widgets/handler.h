#pragma once

#include <QObject>

#include <functional>
#include <type_traits>
#include <utility>

class QWidget;

namespace gamarium::gui {

// Runs one event handler. An exception must not cross Qt's signal and
// event code, so an error that the handler throws ends the handler here:
// its message is shown in a message box over `window` (an Error with its
// own text, anything else as an internal error) and the program carries
// on. True when the handler ran to its end.
bool runHandler(QWidget* window, const std::function<void()>& handler) noexcept;

// Calls a handler with a signal's arguments, or with none if it takes none.
template <class Handler, class... Args>
void callWithSignalArguments(const Handler& handler, Args&&... args) {
    if constexpr (std::is_invocable_v<const Handler&, Args...>)
        handler(std::forward<Args>(args)...);
    else
        handler();
}

// Connects `signal` to `handler` run through runHandler. The handler takes
// the signal's arguments, or none.
template <class Sender, class Signal, class Handler>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, QWidget* window, Handler handler) {
    return QObject::connect(sender, signal, window, [window, handler](auto&&... args) {
        runHandler(window, [&] { callWithSignalArguments(handler, std::forward<decltype(args)>(args)...); });
    });
}

} // namespace gamarium::gui
