#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <functional>

namespace gamarium::gui {

// Pages are shown in the system's browser through here, so that tests see
// the address instead of a browser opening.
class Browser {
public:
    // Opens `url`; `failed` is told why, in Russian, when the system has
    // nothing to open it with or its opener gives up (maybe only after
    // this returned, from the window's event loop).
    static void open(const QUrl& url, std::function<void(const QString& why)> failed);

    // Test hooks: in test mode the address is kept and nothing opens; with
    // a failure set, each open fails with it.
    static void setTestMode(bool on);
    static void setTestFailure(const QString& why);
    static QList<QUrl> openedUrls();
    static void clear();
};

} // namespace gamarium::gui
