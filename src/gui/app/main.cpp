#include "core/files/files.h"
#include "core/files/system.h"
#include "core/store/catalogue.h"
#include "gui/app/application.h"
#include "gui/app/main_window.h"
#include "gui/app/windows.h"
#include "gui/widgets/message_box.h"

#include <cstring>
#include <iostream>

int main(int argc, char** argv) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << "gamarium " GAMARIUM_VERSION "\n";
        return 0;
    }
    gamarium::files::reuseFreedMemory();
    gamarium::gui::Application app(argc, argv);
    const QByteArray folder = QCoreApplication::applicationDirPath().toUtf8();
    const gamarium::files::Path executableFolder(std::u8string(folder.begin(), folder.end()));
    gamarium::files::Path home;
    try {
        home = gamarium::store::programFolder(executableFolder);
    } catch (const std::exception& error) {
        gamarium::gui::MessageBox::error(nullptr, QString::fromUtf8(error.what()));
        return 1;
    }
    gamarium::gui::Windows windows(home);
    windows.form1()->show();
    return app.exec();
}
