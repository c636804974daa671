#pragma once

#include <QApplication>

namespace gamarium::gui {

// The application object. An Error that escapes an event handler ends that
// handler only: its message is shown in a message box and the program
// carries on.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

} // namespace gamarium::gui
