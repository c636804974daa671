#pragma once

#include <QApplication>

namespace gamarium::gui {

// The application object: the program's name, the substitutes for the
// Windows fonts the windows were laid out with, and Qt's own texts in Russian. An error in an event
// handler is dealt with in the handler itself (runHandler): no exception
// reaches Qt.
class Application : public QApplication {
public:
    Application(int& argc, char** argv);
};

} // namespace gamarium::gui
