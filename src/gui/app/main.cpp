#include "app/application.h"
#include "app/main_window.h"
#include "app/windows.h"
#include "files/files.h"
#include "files/system.h"
#include "store/catalogue.h"

int main(int argc, char** argv) {
    gamarium::files::reuseFreedMemory();
    gamarium::gui::Application app(argc, argv);
    const QByteArray folder = QCoreApplication::applicationDirPath().toUtf8();
    const gamarium::files::Path executableFolder(std::u8string(folder.begin(), folder.end()));
    gamarium::gui::Windows windows(gamarium::store::programFolder(executableFolder));
    windows.form1()->show();
    return app.exec();
}
