#pragma once

#include <QList>
#include <QUrl>

namespace gamarium::gui {

// Pages are shown in the system's browser through here, so that tests see
// the address instead of a browser opening.
class Browser {
public:
    // False when the system has nothing to open it with.
    static bool open(const QUrl& url);

    // Test hooks: in test mode the address is kept, nothing opens.
    static void setTestMode(bool on);
    static QList<QUrl> openedUrls();
    static void clear();
};

} // namespace gamarium::gui
