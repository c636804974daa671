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

// Up to this many remote files go without a question when removing is ticked.
constexpr std::size_t kRemovalsWithoutQuestion = 5;

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
    onSignal(ui_->ButtonForget, &QPushButton::clicked, this, [this] { ButtonForgetClick(); });
    onSignal(ui_->ButtonClose, &QPushButton::clicked, this, [this] { reject(); });
    // The folder is the generator's, not typed here: shown on the window's ground.
    QPalette shown = ui_->EditFolder->palette();
    shown.setColor(QPalette::Base, palette().color(QPalette::Window));
    ui_->EditFolder->setPalette(shown);
    ui_->EditFolder->setFocusPolicy(Qt::ClickFocus);
    onSignal(this, &PublishWindow::lineSent, this,
             [this](const QString& line) { ui_->MemoStatus->appendPlainText(line); });
    onSignal(this, &PublishWindow::progressMade, this, [this](int done, int total) {
        ui_->ProgressBar->setRange(0, total);
        ui_->ProgressBar->setValue(done);
    });
    onSignal(this, &PublishWindow::runEnded, this,
             [this](const QString& closing, const QString& error, bool loginRefused, bool passwordSent) {
                 showEnd(closing, error, loginRefused, passwordSent);
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
    // Removing remote files is asked for each time, never carried over.
    ui_->CheckDelete->setChecked(false);
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

// The site's address and the remote folder as typed, one URL.
std::string PublishWindow::typedUrl() const {
    QString remote = ui_->EditRemote->text().trimmed();
    if (!remote.isEmpty() && !remote.startsWith(QLatin1Char('/'))) remote.prepend(QLatin1Char('/'));
    return (ui_->EditSite->text().trimmed() + remote).toStdString();
}

// The typed site's password goes, from this program run and the keyring.
void PublishWindow::ButtonForgetClick() {
    const publish::SiteAddress address = publish::parseSiteAddress(typedUrl());
    passwords_.erase(siteOf(address));
    keepAfterLogin_.erase(siteOf(address));
    forgetInKeyring(address);
    ui_->MemoStatus->appendPlainText(QStringLiteral("Пароль сайта забыт."));
}

void PublishWindow::start(bool keepPassword) {
    if (publishing()) return;
    const std::string url = typedUrl();
    const publish::SiteAddress address = publish::parseSiteAddress(url);
    publish::rememberAddress(home_, base_, folder_, url);
    runSite_ = siteOf(address);
    runLogin_ = fromUtf8((address.user.empty() ? std::string() : address.user + "@") + address.host);
    if (keepPassword) keepAfterLogin_.insert(runSite_);
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
    const std::optional<std::string> typed = keepAfterLogin_.count(runSite_) && password ? password : std::nullopt;
    // Errors are caught on the thread and handed to the window as text.
    worker_ = std::thread([this, address, options, password, typed, lookUp, site = runSite_, home = home_,
                           folder = folder_]() mutable {
        publish::Access access;
        // The keyring may take a moment, or ask the user to unlock it:
        // off the window's thread too.
        if (lookUp) {
            const KeyringAnswer stored = keyringPassword(address);
            if (stored.password) {
                access.password = stored.password;
                emit passwordFound(fromUtf8(site), fromUtf8(*stored.password));
            } else if (!stored.problem.empty()) {
                emit lineSent(fromUtf8("Пароль из связки ключей не взят: " + stored.problem + "."));
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
            if (options.removeGone) {
                // Told from the record alone, before anything is sent.
                publish::PublishOptions counting = options;
                counting.dryRun = true;
                const std::size_t removals = publish::publishFolder(home, folder, address, access, counting, {}).removed;
                if (removals > kRemovalsWithoutQuestion && !removeMany(removals)) options.removeGone = false;
            }
            const publish::PublishReport report =
                publish::publishFolder(home, folder, address, access, options, callbacks);
            // Only a password the server took is kept.
            if (typed) {
                try {
                    storeInKeyring(address, *typed);
                    emit lineSent(QStringLiteral("Пароль сохранён в связке ключей."));
                } catch (const std::exception& error) {
                    emit lineSent(fromUtf8(error.what()));
                }
            }
            QString closing = fromUtf8(publish::reportLine(report));
            if (report.cancelled) closing += QStringLiteral(" (прервано)");
            emit runEnded(closing, QString(), false, false);
        } catch (const publish::LoginRefused& refused) {
            emit runEnded(QString(), fromUtf8(refused.what()), true, access.password.has_value());
        } catch (const std::exception& error) {
            emit runEnded(QString(), fromUtf8(error.what()), false, false);
        }
    });
}

void PublishWindow::showEnd(const QString& closing, const QString& error, bool loginRefused, bool passwordSent) {
    joinWorker();
    for (QWidget* control : std::initializer_list<QWidget*>{ui_->ButtonPublish, ui_->ButtonClose, ui_->EditSite,
                                                           ui_->EditRemote, ui_->CheckDelete})
        control->setEnabled(true);
    ui_->ButtonCancel->setEnabled(false);
    if (!closing.isEmpty()) {
        keepAfterLogin_.erase(runSite_);
        ui_->MemoStatus->appendPlainText(closing);
        return;
    }
    ui_->MemoStatus->appendPlainText(error);
    if (loginRefused) {
        // A refused password is never sent again: asked here, kept for this
        // run of the program, and in the keyring once the server took it.
        passwords_.erase(runSite_);
        const QString question =
            (passwordSent ? QStringLiteral("Пароль не подошёл: сервер не принял вход %1.\n\nВведите пароль ещё раз")
                          : QStringLiteral("Сервер ждёт пароль для входа %1.\n\nВведите пароль"))
                .arg(runLogin_) +
            QStringLiteral(" (он будет помниться до выхода из программы, а с отметкой ниже — и в связке ключей "
                           "рабочего стола, когда сервер его примет):");
        const std::optional<MessageBox::TypedPassword> typed =
            MessageBox::password(this, QStringLiteral("Вход: %1").arg(runLogin_), question,
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
    // Enter must not trust a key by a slip.
    return askFromWorker([this, &text] { return MessageBox::confirm(this, text, MessageBox::Answer::No); });
}

bool PublishWindow::removeMany(std::size_t count) {
    const QString text = QStringLiteral("С сайта будет удалено файлов: %1 — отправленных раньше, которых больше нет в "
                                        "папке. Удалить их?\n\n«Нет» — опубликовать, ничего не удаляя.")
                             .arg(count);
    return askFromWorker([this, &text] { return MessageBox::confirm(this, text, MessageBox::Answer::No); });
}

bool PublishWindow::askFromWorker(const std::function<bool()>& ask) {
    bool answer = false;
    QMetaObject::invokeMethod(
        this, [this, &ask, &answer] { runHandler(this, [&] { answer = ask(); }); }, Qt::BlockingQueuedConnection);
    return answer;
}

void PublishWindow::joinWorker() {
    if (worker_.joinable()) worker_.join();
}

void PublishWindow::reject() {
    if (!publishing()) QDialog::reject();
}

} // namespace gamarium::gui
