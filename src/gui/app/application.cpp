#include "gui/app/application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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
    // The dialogs Qt draws itself (files, folders, its buttons) speak the
    // program's language; without Qt's translations installed they stay English.
    auto* translator = new QTranslator(this);
    if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
}

} // namespace gamarium::gui
