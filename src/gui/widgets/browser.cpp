#include "gui/widgets/browser.h"

#include <QDesktopServices>

namespace gamarium::gui {
namespace {

bool testMode = false;
QList<QUrl> opened;

} // namespace

bool Browser::open(const QUrl& url) {
    if (testMode) {
        opened.append(url);
        return true;
    }
    return QDesktopServices::openUrl(url);
}

void Browser::setTestMode(bool on) {
    testMode = on;
}

QList<QUrl> Browser::openedUrls() {
    return opened;
}

void Browser::clear() {
    opened.clear();
}

} // namespace gamarium::gui
