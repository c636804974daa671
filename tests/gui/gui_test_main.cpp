#include "gui/app/application.h"
#include "gui/widgets/browser.h"
#include "gui/widgets/file_dialog.h"
#include "gui/widgets/message_box.h"

#include <gtest/gtest.h>

// GUI tests run inside the program's own application object, so that an
// error escaping a handler is reported as it is in the program.
int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    gamarium::gui::Application app(argc, argv);
    gamarium::gui::MessageBox::setTestMode(true);
    gamarium::gui::FileDialog::setTestMode(true);
    gamarium::gui::Browser::setTestMode(true);
    return RUN_ALL_TESTS();
}
