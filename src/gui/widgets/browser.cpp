#include "gui/widgets/browser.h"

#include <QDesktopServices>
#include <QProcess>

namespace gamarium::gui {
namespace {

bool testMode = false;
QString testFailure;
QList<QUrl> opened;

} // namespace

void Browser::open(const QUrl& url, std::function<void(const QString& why)> failed) {
    if (testMode) {
        opened.append(url);
        if (!testFailure.isEmpty()) failed(testFailure);
        return;
    }
#ifdef Q_OS_WIN
    if (!QDesktopServices::openUrl(url)) failed(QStringLiteral("Windows не нашла, чем открыть страницу."));
#else
    // xdg-open says only by its exit code that no browser would take the
    // page, which Qt's own opener never asks for.
    auto* opener = new QProcess;
    QObject::connect(opener, &QProcess::finished, opener, [opener, failed](int code, QProcess::ExitStatus status) {
        if (status != QProcess::NormalExit || code != 0)
            failed(QStringLiteral("xdg-open не открыл страницу (код %1).").arg(code));
        opener->deleteLater();
    });
    QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, failed](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        failed(QStringLiteral("не запускается xdg-open, открывающий страницы в браузере."));
        opener->deleteLater();
    });
    opener->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
#endif
}

void Browser::setTestMode(bool on) {
    testMode = on;
}

void Browser::setTestFailure(const QString& why) {
    testFailure = why;
}

QList<QUrl> Browser::openedUrls() {
    return opened;
}

void Browser::clear() {
    opened.clear();
    testFailure.clear();
}

} // namespace gamarium::gui
