// The publishing window against a real sshd: the host-key question, the
// password asked when the server refuses the login, the lines in the
// status memo and the address remembered for the base's folder.
#include "gui_fixture.h"
#include "gui/pages/publish_window.h"
#include "publish/publish_fixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

#include <cstdlib>
#include <filesystem>

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

        // Without a key the server wants a password: asked once, kept for the run.
        if (geteuid() == 0) {
            fs::remove(server.clientHome() / ".ssh" / "id_ed25519");
            gamarium::testing::writeTree(site, {{"index.htm", "<html>2</html>"}});
            MessageBox::queuePassword(QString::fromStdString(gamarium::testing::testAccount().password));
            publishAndWait();
            EXPECT_TRUE(memo().endsWith(QStringLiteral("отправлено 1, удалено 0, без изменений 1")))
                << memo().toStdString();
            EXPECT_EQ(MessageBox::shownTexts().size(), 2);
        }
        click(static_cast<QPushButton*>(control("ButtonClose")));
    });
    window.run(base, site);
    EXPECT_EQ(gamarium::testing::readTree(server.root() / "www"), gamarium::testing::readTree(site));

    // The next time the window offers the same place for this folder.
    whenModal([&] {
        EXPECT_EQ(static_cast<QLineEdit*>(control("EditRemote"))->text().toStdString(),
                  (server.root() / "www").string());
        EXPECT_EQ(static_cast<QLineEdit*>(control("EditSite"))->accessibleName(), QStringLiteral("Адрес сайта:"));
        click(static_cast<QPushButton*>(control("ButtonClose")));
    });
    window.run(base, site);
    MessageBox::setTestMode(false);
}

} // namespace
} // namespace gamarium::gui::testing
