#pragma once

#include <QApplication>

namespace gamarium::gui {

// The application object. An exception that escapes an event handler ends
// that handler only: it is shown in a message box (an Error with its own
// message, anything else as an internal error) and the program carries on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace gamarium::gui
