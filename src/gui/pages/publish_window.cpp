#include "gui/pages/publish_window.h"

#include "core/files/system.h"
#include "core/publish/publish.h"
#include "core/publish/site_places.h"
#include "gui/pages/site_keyring.h"
#include "gui/widgets/fixed_window.h"
#include "gui/widgets/handler.h"
#include "gui/widgets/label_names.h"
#include "gui/widgets/message_box.h"
#include "gui/widgets/qt_text.h"
#include "ui_publish_window.h"

#include <QCloseEvent>
#include <QMetaObject>

namespace gamarium::gui {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// The remembered URL split into the site's address and the remote folder.
std::pair<QString, QString> splitAddress(const QString& url) {
    const int scheme = url.indexOf(QStringLiteral("://"));
    const int path = scheme < 0 ? -1 : url.indexOf(QLatin1Char('/'), scheme + 3);
    if (path < 0) return {url, QString()};
    return {url.left(path), url.mid(path)};
}

// Where a password logs in: the protocol, user, host and port of a site.
std::string siteOf(const publish::SiteAddress& address) {
    return std::to_string(static_cast<int>(address.protocol)) + '\n' + address.user + '\n' + address.host + '\n' +
           std::to_string(address.port);
}

} // namespace

PublishWindow::PublishWindow(const files::Path& home, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::PublishWindow>()), home_(home) {
    ui_->setupUi(this);
    makeFixedWindow(this, 520, 380);
    nameControlsByTheirLabels(this);
    ui_->ProgressBar->setAccessibleName(QStringLiteral("Отправлено файлов"));
    ui_->MemoStatus->setAccessibleName(QStringLiteral("Ход публикации"));
    onSignal(ui_->ButtonPublish, &QPushButton::clicked, this, [this] { ButtonPublishClick(); });
    onSignal(ui_->ButtonCancel, &QPushButton::clicked, this, [this] { ButtonCancelClick(); });
    onSignal(ui_->ButtonClose, &QPushButton::clicked, this, [this] { reject(); });
    onSignal(this, &PublishWindow::lineSent, this,
             [this](const QString& line) { ui_->MemoStatus->appendPlainText(line); });
    onSignal(this, &PublishWindow::progressMade, this, [this](int done, int total) {
        ui_->ProgressBar->setRange(0, total);
        ui_->ProgressBar->setValue(done);
    });
    onSignal(this, &PublishWindow::runEnded, this,
             [this](const QString& closing, const QString& error, bool loginRefused) {
                 showEnd(closing, error, loginRefused);
             });
    onSignal(this, &PublishWindow::passwordFound, this,
             [this](const QString& site, const QString& password) { passwords_[site.toStdString()] = password.toStdString(); });
}

PublishWindow::~PublishWindow() {
    cancel_ = true;
    joinWorker();
}

void PublishWindow::run(const std::string& base, const files::Path& folder) {
    base_ = base;
    folder_ = folder;
    ui_->EditFolder->setText(fromPath(folder));
    const auto [site, remote] = splitAddress(fromUtf8(publish::rememberedAddress(home_, base, folder)));
    ui_->EditSite->setText(site);
    ui_->EditRemote->setText(remote);
    ui_->MemoStatus->clear();
    ui_->ProgressBar->reset();
    exec();
}

void PublishWindow::ButtonPublishClick() {
    start(false);
}

void PublishWindow::ButtonCancelClick() {
    cancel_ = true;
    ui_->MemoStatus->appendPlainText(QStringLiteral("Прерывается после файлов, которые уже отправляются…"));
}

void PublishWindow::start(bool keepPassword) {
    if (publishing()) return;
    QString remote = ui_->EditRemote->text().trimmed();
    if (!remote.isEmpty() && !remote.startsWith(QLatin1Char('/'))) remote.prepend(QLatin1Char('/'));
    const std::string url = (ui_->EditSite->text().trimmed() + remote).toStdString();
    const publish::SiteAddress address = publish::parseSiteAddress(url);
    publish::rememberAddress(home_, base_, folder_, url);
    runSite_ = siteOf(address);
    std::optional<std::string> password;
    if (const auto known = passwords_.find(runSite_); known != passwords_.end()) password = known->second;
    // The keyring is asked once a program run, before any password is asked for.
    const bool lookUp = !password && lookedUp_.insert(runSite_).second;
    publish::PublishOptions options;
    options.removeGone = ui_->CheckDelete->isChecked();
    cancel_ = false;
    ui_->MemoStatus->clear();
    ui_->ProgressBar->reset();
    for (QWidget* control : std::initializer_list<QWidget*>{ui_->ButtonPublish, ui_->ButtonClose, ui_->EditSite,
                                                           ui_->EditRemote, ui_->CheckDelete})
        control->setEnabled(false);
    ui_->ButtonCancel->setEnabled(true);
    // Errors are caught on the thread and handed to the window as text.
    worker_ = std::thread([this, address, options, password, keepPassword, lookUp, site = runSite_, home = home_,
                           folder = folder_] {
        publish::Access access;
        // The keyring may take a moment, or ask the user to unlock it:
        // off the window's thread too.
        if (keepPassword) {
            try {
                storeInKeyring(address, *password);
            } catch (const std::exception& error) {
                emit lineSent(fromUtf8(error.what()));
            }
        }
        if (lookUp) {
            try {
                if (const std::optional<std::string> stored = keyringPassword(address)) {
                    access.password = stored;
                    emit passwordFound(fromUtf8(site), fromUtf8(*stored));
                }
            } catch (const std::exception&) {
                // Without the keyring the password is asked for, as where none runs.
            }
        }
        access.userHome = files::userHome();
        if (password) access.password = password;
        access.trustUnknownHostKey = [this](const publish::HostKeyQuestion& question) {
            return trustHostKey(question);
        };
        const publish::PublishCallbacks callbacks{
            .line = [this](const std::string& line) { emit lineSent(fromUtf8(line)); },
            .warning = [this](const std::string& line) { emit lineSent(fromUtf8(line)); },
            .progress = [this](std::size_t done, std::size_t total) {
                emit progressMade(static_cast<int>(done), static_cast<int>(total));
            },
            .cancelled = [this] { return cancel_.load(); },
        };
        try {
            const publish::PublishReport report =
                publish::publishFolder(home, folder, address, access, options, callbacks);
            QString closing = fromUtf8(publish::reportLine(report));
            if (report.cancelled) closing += QStringLiteral(" (прервано)");
            emit runEnded(closing, QString(), false);
        } catch (const publish::LoginRefused& refused) {
            emit runEnded(QString(), fromUtf8(refused.what()), true);
        } catch (const std::exception& error) {
            emit runEnded(QString(), fromUtf8(error.what()), false);
        }
    });
}

void PublishWindow::showEnd(const QString& closing, const QString& error, bool loginRefused) {
    joinWorker();
    for (QWidget* control : std::initializer_list<QWidget*>{ui_->ButtonPublish, ui_->ButtonClose, ui_->EditSite,
                                                           ui_->EditRemote, ui_->CheckDelete})
        control->setEnabled(true);
    ui_->ButtonCancel->setEnabled(false);
    if (!closing.isEmpty()) {
        ui_->MemoStatus->appendPlainText(closing);
        return;
    }
    ui_->MemoStatus->appendPlainText(error);
    if (loginRefused) {
        // No password in ~/.netrc or the keyring, or a wrong one: asked here,
        // kept for this run of the program, and in the keyring when asked so.
        const std::optional<MessageBox::TypedPassword> typed = MessageBox::password(
            this,
            QStringLiteral("Сервер не принял вход. Пароль (он будет помниться до выхода из программы, а с отметкой "
                           "ниже — и в связке ключей рабочего стола):"),
            QStringLiteral("Сохранить в связке ключей"));
        if (!typed) return;
        passwords_[runSite_] = typed->password.toStdString();
        start(typed->keep);
        return;
    }
    MessageBox::error(this, error);
}

bool PublishWindow::trustHostKey(const publish::HostKeyQuestion& question) {
    const QString text =
        QStringLiteral("Сервер %1 (порт %2) ещё не знаком: его ключ %3\n%4\n\nДоверять этому серверу? Ключ будет "
                       "записан в ~/.ssh/known_hosts. Сверьте отпечаток с тем, что показывает хостинг.")
            .arg(fromUtf8(question.host))
            .arg(question.port)
            .arg(fromUtf8(question.key.type), fromUtf8(question.key.fingerprint));
    bool trusted = false;
    QMetaObject::invokeMethod(
        this, [this, &text, &trusted] { runHandler(this, [&] { trusted = MessageBox::confirm(this, text); }); },
        Qt::BlockingQueuedConnection);
    return trusted;
}

void PublishWindow::joinWorker() {
    if (worker_.joinable()) worker_.join();
}

void PublishWindow::reject() {
    if (!publishing()) QDialog::reject();
}

} // namespace gamarium::gui
