#pragma once

#include "core/publish/site_address.h"

#include <filesystem>
#include <string>

#include <sys/types.h>

// Real servers on 127.0.0.1 for the publishing tests: OpenSSH's sshd for
// SFTP and vsftpd for FTP and FTPS, each on a free port with its own
// configuration, keys and certificate in the test's folder.
namespace gamarium::testing {

// The local account the servers log in. As root (CI): the user
// "gamarium-publish", made with useradd when missing, with a random
// password kept in /var/lib/gamarium-publish-test/password (root only):
// vsftpd refuses root, and logs users in through PAM.
// Otherwise the current user, who can use SFTP with a key but not FTP
// (vsftpd must be started as root): ftpReason() then says why.
struct TestAccount {
    std::string name;
    std::string password;   // empty when not known (not root)
    uid_t uid = 0;
    gid_t gid = 0;
    std::string ftpReason;  // why FTP cannot be tested here; empty when it can
};
const TestAccount& testAccount();

// A folder the account owns, as the servers' files are.
void giveToAccount(const std::filesystem::path& path);

// A running server; stopped (its whole process group killed) by stop() or
// the destructor. `root` is the folder the URLs point into.
class TestServer {
public:
    enum class Kind { Ssh, Ftp };
    // Starts the server with its files in `work`; the user's home for the
    // client (.ssh/, .netrc) is work/"client". Fails the test loudly when
    // the server's program is missing.
    TestServer(Kind kind, const std::filesystem::path& work);
    ~TestServer();
    TestServer(const TestServer&) = delete;
    TestServer& operator=(const TestServer&) = delete;

    void stop();
    void start();  // again, on the same port
    bool running() const { return pid_ > 0; }

    // The URL of `folder` (below root()) in this protocol.
    std::string url(publish::Protocol protocol, const std::string& folder) const;
    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& clientHome() const { return client_; }
    const std::filesystem::path& certificate() const { return certificate_; }
    // Writes the client's .netrc with this password for the account.
    void writeNetrc(const std::string& password) const;
    long port() const { return port_; }

private:
    Kind kind_;
    std::filesystem::path work_, root_, client_, config_, certificate_;
    long port_ = 0;
    pid_t pid_ = -1;
};

// Whether `program` can be run; the tests fail (not skip) without it, as
// scripts/setup.sh installs it.
bool haveProgram(const std::string& program);

} // namespace gamarium::testing
