// What the program refuses before anything is sent: a login the server
// does not accept, a server key or certificate it cannot trust, a URL with
// a password. Nothing reaches the server, and the message says what to do.
#include "publish_fixture.h"

#include "cli/command_line.h"
#include "core/publish/publish.h"
#include "core/publish/sent_record.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>

#include <fstream>

namespace gamarium::testing {
namespace {
namespace fs = std::filesystem;
using publish::Protocol;

TEST_P(PublishTest, RefusesWhatItCannotTrust) {
    writeTree(site_, {{"index.htm", "<html></html>"}});
    const fs::path ssh = server_->clientHome() / ".ssh";
    struct Refusal {
        const char* what;
        std::vector<Protocol> protocols;
        std::function<void()> prepare;
        std::vector<std::string> says;
        std::vector<std::string> options = {};
        std::string url = {};
    };
    const std::string port = std::to_string(server_->port());
    fs::copy(server_->clientHome(), work_.path() / "whole client", fs::copy_options::recursive);
    const Refusal refusals[] = {
        {"wrong password", {Protocol::Sftp, Protocol::Ftps, Protocol::Ftp},
         [&] {
             fs::remove(ssh / "id_ed25519");
             server_->writeNetrc("wrong-password");
         },
         {"не принял вход пользователя " + testAccount().name}},
        {"unknown host key", {Protocol::Sftp}, [&] { fs::remove(ssh / "known_hosts"); },
         {"не записан в " + (ssh / "known_hosts").string(), "SHA256:",
          "ssh-keyscan -p " + port + " 127.0.0.1 >> " + (ssh / "known_hosts").string()}},
        {"changed host key", {Protocol::Sftp},
         [&] {
             std::system(("ssh-keygen -q -t ed25519 -N '' -f '" + (work_.path() / "other").string() + "'").c_str());
             std::ifstream other(work_.path() / "other.pub");
             std::string type, key;
             other >> type >> key;
             std::ofstream(ssh / "known_hosts") << "[127.0.0.1]:" << port << " " << type << " " << key << "\n";
         },
         {"не совпадает с записанным", "ssh-keygen -R '[127.0.0.1]:" + port + "'"}},
        {"certificate of no known authority", {Protocol::Ftps}, [] {},
         {"Сертификат сервера 127.0.0.1:" + port + " не подтверждён", "--cacert"}},
        {"password in the URL", {Protocol::Sftp, Protocol::Ftps, Protocol::Ftp}, [] {},
         {"содержит пароль", "~/.netrc"},
         {},
         "ftp://" + testAccount().name + ":secret@127.0.0.1:" + port + "/www"},
    };
    for (const Refusal& refusal : refusals) {
        if (std::find(refusal.protocols.begin(), refusal.protocols.end(), GetParam()) == refusal.protocols.end())
            continue;
        SCOPED_TRACE(refusal.what);
        // Each from the whole client side: key, known host, password.
        fs::remove_all(server_->clientHome());
        fs::copy(work_.path() / "whole client", server_->clientHome(), fs::copy_options::recursive);
        refusal.prepare();
        // The last two go without --cacert, which publish() gives FTPS.
        CliResult result;
        if (refusal.url.empty() && !std::string_view(refusal.what).starts_with("certificate")) {
            result = publish();
        } else {
            const std::string url = refusal.url.empty() ? server_->url(GetParam(), "www") : refusal.url;
            std::ostringstream out, err;
            result.exitCode = cli::run({"--home", home_.string(), "publish", site_.string(), url}, out, err);
            result.err = err.str();
        }
        EXPECT_EQ(result.exitCode, 1);
        for (const std::string& part : refusal.says) EXPECT_NE(result.err.find(part), std::string::npos) << result.err;
        EXPECT_TRUE(remote().empty());
    }
}

// The window's question: a key the user trusts is added to known_hosts,
// and is not asked about again.
class SftpPublishTest : public PublishTest {};

TEST_P(SftpPublishTest, TrustsAnUnknownHostKeyTheUserAccepts) {
    writeTree(site_, {{"index.htm", "<html></html>"}});
    const fs::path knownHosts = server_->clientHome() / ".ssh" / "known_hosts";
    fs::remove(knownHosts);
    int asked = 0;
    std::string fingerprint;
    publish::Access access;
    access.userHome = server_->clientHome();
    access.trustUnknownHostKey = [&](const publish::HostKeyQuestion& question) {
        ++asked;
        fingerprint = question.key.fingerprint;
        return true;
    };
    for (int run = 0; run < 2; ++run)
        publish::publishFolder(home_, site_, address(), access, {}, {});
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fingerprint.starts_with("SHA256:"));
    std::ifstream lines(knownHosts);
    std::string host, type;
    lines >> host >> type;
    EXPECT_EQ(host, "[127.0.0.1]:" + std::to_string(server_->port()));
    EXPECT_EQ(type, "ssh-ed25519");
    EXPECT_EQ(remote(), (Tree{{"index.htm", "<html></html>"}}));
}

INSTANTIATE_TEST_SUITE_P(Sftp, SftpPublishTest, ::testing::Values(Protocol::Sftp),
                         [](const auto& info) { return protocolName(info.param); });

} // namespace
} // namespace gamarium::testing
