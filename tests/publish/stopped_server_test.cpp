// A server that stops in the middle, and one whose disk fills: a clear
// error naming the file, old pages whole, a record that lists only files
// the server holds whole, and a next run that completes the work.
#include "publish_fixture.h"

#include "core/publish/publish.h"
#include "core/publish/sent_record.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <poll.h>
#include <sys/mount.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace gamarium::testing {
namespace {
namespace fs = std::filesystem;
using publish::Protocol;

Tree manyPages(int count, const std::string& version) {
    Tree tree;
    for (int i = 0; i < count; ++i)
        tree["p" + std::to_string(i) + ".htm"] = "<html>" + version + std::string(4000 + i, 'x') + "</html>";
    return tree;
}

publish::Access accessOf(const TestServer& server, const std::string& protocolCertificate) {
    publish::Access access;
    access.userHome = server.clientHome();
    access.caCertificates = protocolCertificate;
    return access;
}

// Every file the record lists with a hash is on the server with the listed
// content (one listed without was being sent when the run ended).
void expectRecordTrue(const fs::path& home, const fs::path& site, const publish::SiteAddress& address,
                      const Tree& local, const Tree& remote) {
    publish::SentRecord record(home, site, address);
    for (const auto& [path, sent] : record.files()) {
        if (sent.hash.empty()) continue;
        ASSERT_TRUE(remote.count(path)) << path << " listed, not on the server";
        EXPECT_EQ(remote.at(path), local.at(path)) << path;
        EXPECT_EQ(sent.size, local.at(path).size()) << path;
    }
}

// Stopped while files are sent, or while a connection logs in: the message
// says the connection was lost (not that the disk is full, nor that the
// login was refused, which would have the window ask for a password).
TEST_P(PublishTest, ServerStoppedInTheMiddle) {
    const std::string certificate = GetParam() == Protocol::Ftps ? server_->certificate().string() : "";
    std::thread agent;
    struct Moment {
        const char* what;
        bool sftpOnly;
        std::function<void(publish::PublishCallbacks&, publish::Access&)> stop;
        std::string begins;
    };
    const Moment moments[] = {
        {"while files are sent", false,
         [&](publish::PublishCallbacks& callbacks, publish::Access&) {
             callbacks.progress = [&](std::size_t done, std::size_t) {
                 if (done == 30) server_->stop();
             };
         },
         "Не удалось отправить «p"},
        // The key is asked about after the server greeted, before the login.
        {"after the greeting", true,
         [&](publish::PublishCallbacks&, publish::Access& access) {
             fs::remove(server_->clientHome() / ".ssh" / "known_hosts");
             access.trustUnknownHostKey = [&](const publish::HostKeyQuestion&) {
                 server_->stop();
                 return true;
             };
         },
         "Связь с сервером 127.0.0.1:"},
        // The server refuses the password; the ssh-agent asked next stops it.
        {"while logging in", true,
         [&](publish::PublishCallbacks&, publish::Access&) {
             fs::remove(server_->clientHome() / ".ssh" / "id_ed25519");
             server_->writeNetrc("wrong-password");
             const fs::path socketPath = work_.path() / "agent";
             const int listener = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
             sockaddr_un where{};
             where.sun_family = AF_UNIX;
             socketPath.string().copy(where.sun_path, sizeof where.sun_path - 1);
             ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&where), sizeof where), 0);
             listen(listener, 1);
             setenv("SSH_AUTH_SOCK", socketPath.c_str(), 1);
             // Asked for its keys, it stops the server and answers that it
             // holds none; it closes when the client does.
             agent = std::thread([this, listener] {
                 const auto wait = [](int socket) {
                     pollfd ready{socket, POLLIN, 0};
                     return poll(&ready, 1, 30000) == 1;
                 };
                 const int client = wait(listener) ? accept4(listener, nullptr, nullptr, SOCK_CLOEXEC) : -1;
                 char request[512];
                 if (client >= 0 && wait(client) && recv(client, request, sizeof request, 0) > 0) {
                     server_->stop();
                     const char noKeys[] = {0, 0, 0, 5, 12, 0, 0, 0, 0};
                     (void)send(client, noKeys, sizeof noKeys, MSG_NOSIGNAL);
                     while (wait(client) && recv(client, request, sizeof request, 0) > 0) {
                     }
                 }
                 server_->stop();
                 if (client >= 0) close(client);
                 close(listener);
             });
         },
         "Связь с сервером 127.0.0.1:"},
    };
    for (const Moment& moment : moments) {
        if (moment.sftpOnly && GetParam() != Protocol::Sftp) continue;
        SCOPED_TRACE(moment.what);
        fs::remove_all(home_ / "publish");
        fs::remove_all(server_->root() / "www");
        const Tree local = manyPages(120, moment.what);
        writeTree(site_, local);
        publish::PublishCallbacks callbacks;
        publish::Access access = accessOf(*server_, certificate);
        moment.stop(callbacks, access);
        std::string message;
        try {
            publish::publishFolder(home_, site_, address(), access, {}, callbacks);
        } catch (const publish::LoginRefused& refused) {
            ADD_FAILURE() << "taken for a refused login: " << refused.what();
        } catch (const Error& error) {
            message = error.what();
        }
        if (agent.joinable()) agent.join();
        unsetenv("SSH_AUTH_SOCK");
        server_->writeNetrc(testAccount().password);
        EXPECT_TRUE(message.starts_with(moment.begins)) << message;
        EXPECT_NE(message.find("127.0.0.1"), std::string::npos) << message;
        EXPECT_NE(message.find("прервалась"), std::string::npos) << message;
        expectRecordTrue(home_, site_, address(), local, remote());

        server_->start();
        const CliResult result = publish();
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(remote(), local);
    }
}

// The server's folder on a small tmpfs (mounting needs root).
TEST_P(PublishTest, RemoteDiskFull) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to mount a small tmpfs as the server's folder";
    const fs::path www = server_->root() / "www";
    fs::create_directories(www);
    ASSERT_EQ(mount("tmpfs", www.c_str(), "tmpfs", 0, "size=1m"), 0) << "mount: " << std::strerror(errno);
    struct Unmount {
        PublishTest& test;
        fs::path folder;
        ~Unmount() {
            test.stopServer();
            umount2(folder.c_str(), MNT_DETACH);
        }
    } unmount{*this, www};
    giveToAccount(www);
    Tree local = {{"index.htm", "<html>old</html>"}, {"big.htm", std::string(300000, 'b')}};
    writeTree(site_, local);
    ASSERT_EQ(publish().exitCode, 0);
    const Tree old = remote();

    writeTree(site_, {{"big.htm", std::string(900000, 'B')}, {"index.htm", "<html>new</html>"}});
    const CliResult full = publish({"--jobs", "1"});
    EXPECT_EQ(full.exitCode, 1);
    EXPECT_NE(full.err.find("Не удалось отправить «big.htm»"), std::string::npos) << full.err;
    EXPECT_EQ(remote().at("big.htm"), old.at("big.htm"));
    // The server's own answer, or for SFTP (which has none for it) the likely
    // cause; vsftpd may drop the data connection before its answer comes.
    if (GetParam() == Protocol::Sftp)
        EXPECT_NE(full.err.find("нет места"), std::string::npos) << full.err;
    else
        EXPECT_TRUE(full.err.find("ответ сервера: «4") != std::string::npos ||
                    full.err.find("Broken pipe") != std::string::npos)
            << full.err;

    local = {{"big.htm", std::string(200000, 'B')}, {"index.htm", "<html>new</html>"}};
    writeTree(site_, local);
    const CliResult fits = publish();
    EXPECT_EQ(fits.exitCode, 0) << fits.err;
    EXPECT_EQ(remote(), local);  // the temporary the failed run may have left is gone too
}

} // namespace
} // namespace gamarium::testing
