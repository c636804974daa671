// The publishing window against a real sshd: the host-key question, the
// lines in the status memo, the address remembered for the base's folder,
// and the password asked when the server refuses the login, kept for the
// program's run or in the desktop's keyring.
#include "gui_fixture.h"

#include "core/support/run_command.h"
#include "core/publish/site_address.h"
#include "gui/pages/publish_window.h"
#include "gui/pages/site_keyring.h"
#include "publish/publish_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace gamarium::gui::testing {
namespace {
namespace fs = std::filesystem;
using gamarium::testing::TestServer;

class PublishWindowTest : public GuiTest {};

TEST_F(PublishWindowTest, AsksWhatItMustAndShowsTheRun) {
    gamarium::testing::TempFolder work;
    TestServer server(TestServer::Kind::Ssh, work.path());
    setenv("HOME", server.clientHome().c_str(), 1);
    const fs::path site = work.path() / "мой сайт";
    gamarium::testing::writeTree(site, {{"index.htm", "<html>1</html>"}, {"Игры/a b.htm", "<html>A</html>"}});
    fs::remove(server.clientHome() / ".ssh" / "known_hosts");
    MessageBox::setTestMode(true);
    MessageBox::queueAnswer(MessageBox::Answer::Yes);  // trust the server's key
    const std::string base = "Мои игры";

    PublishWindow window(home_, nullptr);
    const auto control = [&](const char* name) { return window.findChild<QWidget*>(QString::fromLatin1(name)); };
    const auto memo = [&] { return window.findChild<QPlainTextEdit*>(QStringLiteral("MemoStatus"))->toPlainText(); };
    const auto publishAndWait = [&] {
        click(static_cast<QPushButton*>(control("ButtonPublish")));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window.publishing() && control("ButtonPublish")->isEnabled(); },
                                    60000));
    };
    whenModal([&] {
        static_cast<QLineEdit*>(control("EditSite"))
            ->setText(QStringLiteral("sftp://%1@127.0.0.1:%2")
                          .arg(QString::fromStdString(gamarium::testing::testAccount().name))
                          .arg(server.port()));
        static_cast<QLineEdit*>(control("EditRemote"))->setText(QString::fromStdString((server.root() / "www").string()));
        publishAndWait();
        EXPECT_TRUE(memo().contains(QStringLiteral("отправлен Игры/a b.htm"))) << memo().toStdString();
        EXPECT_TRUE(memo().endsWith(QStringLiteral("отправлено 2, удалено 0, без изменений 0"))) << memo().toStdString();
        EXPECT_EQ(window.findChild<QProgressBar*>()->value(), 2);
        ASSERT_EQ(MessageBox::shownTexts().size(), 1);
        EXPECT_TRUE(MessageBox::shownTexts().front().contains(QStringLiteral("SHA256:")));

        click(static_cast<QPushButton*>(control("ButtonClose")));
    });
    window.run(base, site);
    EXPECT_EQ(gamarium::testing::readTree(server.root() / "www"), gamarium::testing::readTree(site));

    // The next time the window offers the same place for this folder, but
    // removing is asked for anew each time; more than a few removals are
    // asked about, naming how many, and "Нет" sends without removing.
    const auto deleting = [&] { return static_cast<QCheckBox*>(control("CheckDelete")); };
    for (int i = 0; i < 6; ++i) gamarium::testing::writeTree(site, {{"old" + std::to_string(i) + ".htm", "<html/>"}});
    whenModal([&] {
        EXPECT_EQ(static_cast<QLineEdit*>(control("EditRemote"))->text().toStdString(),
                  (server.root() / "www").string());
        EXPECT_EQ(static_cast<QLineEdit*>(control("EditSite"))->accessibleName(), QStringLiteral("Адрес сайта:"));
        publishAndWait();
        deleting()->setChecked(true);
        click(static_cast<QPushButton*>(control("ButtonClose")));
    });
    window.run(base, site);
    for (int i = 0; i < 6; ++i) fs::remove(site / ("old" + std::to_string(i) + ".htm"));
    MessageBox::clearShownTexts();
    for (const MessageBox::Answer answer : {MessageBox::Answer::No, MessageBox::Answer::Yes}) {
        whenModal([&] {
            EXPECT_FALSE(deleting()->isChecked()) << "never carried over from the last time";
            deleting()->setChecked(true);
            MessageBox::queueAnswer(answer);
            publishAndWait();
            EXPECT_TRUE(MessageBox::shownTexts().last().contains(QStringLiteral("будет удалено файлов: 6")))
                << MessageBox::shownTexts().join(QLatin1Char('|')).toStdString();
            EXPECT_EQ(fs::exists(server.root() / "www" / "old0.htm"), answer == MessageBox::Answer::No);
            click(static_cast<QPushButton*>(control("ButtonClose")));
        });
        window.run(base, site);
    }
    EXPECT_EQ(gamarium::testing::readTree(server.root() / "www"), gamarium::testing::readTree(site));
    MessageBox::setTestMode(false);
}

// A session bus of the test's own with GNOME Keyring's secret service on
// it, the login keyring unlocked, as a desktop session has them. Both end
// with the test's process: the bus may not go away before it, as GLib ends
// a process whose session bus is gone.
class SecretService {
public:
    // `runtime`: the session's runtime folder, where the keyring daemon
    // puts its sockets.
    explicit SecretService(const fs::path& runtime) {
        for (const char* program : {"/usr/bin/dbus-daemon", "/usr/bin/gnome-keyring-daemon", "/usr/bin/dbus-send"})
            if (!gamarium::testing::haveProgram(program))
                throw std::runtime_error(std::string(program) + " is missing: scripts/setup.sh installs it");
        fs::create_directories(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
        setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // Each child gets its own end alone: a write end left open in another
        // would keep the password from ending.
        int busOut[2], keyringIn[2];
        if (pipe2(busOut, O_CLOEXEC) != 0 || pipe2(keyringIn, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        start({"/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1"}, -1, busOut[1]);
        close(busOut[1]);
        const std::string address = firstLine(busOut[0]);
        setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);
        start({"/usr/bin/gnome-keyring-daemon", "--foreground", "--unlock", "--components=secrets"}, keyringIn[0], -1);
        close(keyringIn[0]);
        if (write(keyringIn[1], "test", 4) != 4) throw std::runtime_error("write");
        close(keyringIn[1]);
        // In the foreground it prints nothing: ready once the service has its name on the bus.
        const auto ready = [] {
            return gamarium::testing::runCommand("/usr/bin/dbus-send --session --print-reply "
                                                 "--dest=org.freedesktop.DBus / org.freedesktop.DBus.NameHasOwner "
                                                 "string:org.freedesktop.secrets")
                       .out.find("boolean true") != std::string::npos;
        };
        if (!QTest::qWaitFor(ready, 20000)) throw std::runtime_error("gnome-keyring-daemon did not start");
    }

private:
    static void start(const std::vector<std::string>& arguments, int in, int out) {
        const pid_t parent = getpid();
        if (fork() != 0) return;
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent) _exit(0);
        if (in >= 0) dup2(in, 0);
        if (out >= 0) dup2(out, 1);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    static std::string firstLine(int fd) {
        std::string line;
        char c;
        while (read(fd, &c, 1) == 1 && c != '\n') line += c;
        close(fd);
        return line;
    }
};

// A password is asked for naming the login, kept for the program's run,
// and kept in the keyring only once the server took it; a refused one is
// asked for again, saying so, and never sent again; "Забыть пароль" takes
// it out of both.
TEST_F(PublishWindowTest, PasswordKeptForTheRunOrInTheKeyring) {
    if (geteuid() != 0) GTEST_SKIP() << "the servers log in with a password only as root (through PAM)";
    gamarium::testing::TempFolder work;
    TestServer server(TestServer::Kind::Ssh, work.path());
    setenv("HOME", server.clientHome().c_str(), 1);
    // No key: the server asks for the password.
    fs::remove(server.clientHome() / ".ssh" / "id_ed25519");
    const fs::path site = work.path() / "сайт";
    const QString user = QString::fromStdString(gamarium::testing::testAccount().name);
    const QString password = QString::fromStdString(gamarium::testing::testAccount().password);
    const MessageBox::TypedPassword right{password, true}, wrong{QStringLiteral("не тот"), true};
    const QString url = QStringLiteral("sftp://%1@127.0.0.1:%2").arg(user).arg(server.port());
    const publish::SiteAddress address = publish::parseSiteAddress(url.toStdString() + "/www");
    // First no secret service at all, as in a bare X session.
    setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + (work.path() / "no-bus").string()).c_str(), 1);
    MessageBox::setTestMode(true);
    const QString waits = QStringLiteral("Сервер ждёт пароль"), refused = QStringLiteral("Пароль не подошёл");
    struct Run {
        const char* what;
        bool newProgramRun;  // a new window: nothing kept from before
        std::function<void()> before;
        std::vector<MessageBox::TypedPassword> typed;
        QStringList asked;       // how each question begins its text
        bool forget = false;     // "Забыть пароль" first
        bool notStored = false;  // the keyring's refusal shown
        std::optional<QString> inKeyring; // after the run, where there is one
    };
    std::optional<SecretService> keyring;
    const Run runs[] = {
        {"no keyring to store in", true, [] {}, {right}, {waits}, false, true, std::nullopt},
        {"kept for the run", false, [] {}, {}, {}, false, false, std::nullopt},
        {"a wrong one is asked again and never stored", true, [&] { keyring.emplace(work.path() / "run"); },
         {wrong, right}, {waits, refused}, false, false, password},
        {"found in the keyring", true, [] {}, {}, {}, false, false, password},
        {"forgotten", false, [] {}, {MessageBox::TypedPassword{password, false}}, {waits}, true, false, std::nullopt},
    };
    std::unique_ptr<PublishWindow> window;
    int version = 0;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        run.before();
        if (run.newProgramRun) window = std::make_unique<PublishWindow>(home_, nullptr);
        gamarium::testing::writeTree(site, {{"index.htm", "<html>" + std::to_string(++version) + "</html>"}});
        MessageBox::clearShownTexts();
        for (const MessageBox::TypedPassword& typed : run.typed) MessageBox::queuePassword(typed);
        whenModal([&] {
            const auto control = [&](const char* name) { return window->findChild<QWidget*>(QString::fromLatin1(name)); };
            static_cast<QLineEdit*>(control("EditSite"))->setText(url);
            static_cast<QLineEdit*>(control("EditRemote"))->setText(QString::fromStdString((server.root() / "www").string()));
            if (run.forget) click(static_cast<QPushButton*>(control("ButtonForget")));
            click(static_cast<QPushButton*>(control("ButtonPublish")));
            // A refused login ends a run and starts the next with the password.
            ASSERT_TRUE(QTest::qWaitFor(
                [&] {
                    return !window->publishing() && control("ButtonPublish")->isEnabled() &&
                           window->findChild<QPlainTextEdit*>()->toPlainText().contains(QStringLiteral("отправлено"));
                },
                60000));
            const QString memo = window->findChild<QPlainTextEdit*>()->toPlainText();
            EXPECT_TRUE(memo.endsWith(QStringLiteral("отправлено 1, удалено 0, без изменений 0"))) << memo.toStdString();
            EXPECT_EQ(memo.contains(QStringLiteral("Пароль не сохранён в связке ключей")), run.notStored)
                << memo.toStdString();
            const QStringList shown = MessageBox::shownTexts();
            ASSERT_EQ(shown.size(), run.asked.size()) << shown.join(QLatin1Char('|')).toStdString();
            for (qsizetype i = 0; i < shown.size(); ++i) {
                EXPECT_TRUE(shown[i].startsWith(QStringLiteral("Вход: %1@127.0.0.1\n%2").arg(user, run.asked[i])))
                    << shown[i].toStdString();
            }
            click(static_cast<QPushButton*>(control("ButtonClose")));
        });
        window->run("Мои игры", site);
        if (keyring) {
            EXPECT_EQ(keyringPassword(address).password,
                      run.inKeyring ? std::optional(run.inKeyring->toStdString()) : std::nullopt);
        }
    }
    EXPECT_EQ(gamarium::testing::readTree(server.root() / "www"), gamarium::testing::readTree(site));
    MessageBox::setTestMode(false);
}

} // namespace
} // namespace gamarium::gui::testing
