// What the program refuses before anything is sent: a login the server
// does not accept, a server key or certificate it cannot trust, a URL it
// would read otherwise than it was written, a folder that is not a site's,
// a place another run is publishing to. Nothing reaches the server, the
// message says what to do, and a password in the URL is never shown.
#include "publish_fixture.h"

#include "cli/command_line.h"
#include "core/publish/publish.h"
#include "core/publish/sent_record.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <sstream>

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
        std::string url = {};
        fs::path folder = {};
    };
    const std::string port = std::to_string(server_->port());
    const std::string www = server_->url(GetParam(), "www");
    const std::string scheme = www.substr(0, www.find("://"));
    const std::string password = "TopSecret1";
    const std::string withPassword = scheme + "://" + testAccount().name + ":" + password + "@127.0.0.1:";
    const auto all = {Protocol::Sftp, Protocol::Ftps, Protocol::Ftp};
    // Another run of the same place, written another way: SFTP reads "//"
    // as "/", FTP too but for a leading one (an absolute path).
    std::optional<publish::SentRecord> running;
    std::string sameSub = server_->url(GetParam(), "a") + "//b/";
    if (GetParam() == Protocol::Sftp) sameSub.insert(sameSub.find(":" + port + "/") + port.size() + 1, "/");
    fs::copy(server_->clientHome(), work_.path() / "whole client", fs::copy_options::recursive);
    const Refusal refusals[] = {
        {"wrong password", all,
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
        {"password in the URL", all, [] {}, {"содержит пароль", "~/.netrc"}, withPassword + port + "/www"},
        {"password in a URL of another scheme", {Protocol::Sftp}, [] {}, {"«http://»"},
         "http://" + testAccount().name + ":" + password + "@127.0.0.1:" + port + "/www"},
        {"password in a URL with a bad port", all, [] {}, {"Порт", "от 1 до 65535"}, withPassword + "99999/www"},
        {"port 0", all, [] {}, {"Порт", "от 1 до 65535"}, scheme + "://127.0.0.1:0/www"},
        {"'#' after the folder", all, [] {}, {"«#»", "%23"}, www + "#test"},
        {"'?' after the folder", all, [] {}, {"«?»", "%3F"}, www + "?test"},
        {"the system's root as FOLDER", {Protocol::Sftp}, [] {}, {"Папка «/»"}, {}, "/"},
        {"a FOLDER that holds the program folder", {Protocol::Sftp}, [] {}, {"папку программы"}, {},
         work_.path()},
        {"the same place, written otherwise, while another run publishes there", all,
         [&] { running.emplace(home_, site_, address("a/b")); }, {"уже публикует другая копия"}, sameSub},
    };
    for (const Refusal& refusal : refusals) {
        if (std::find(refusal.protocols.begin(), refusal.protocols.end(), GetParam()) == refusal.protocols.end())
            continue;
        SCOPED_TRACE(refusal.what);
        // Each from the whole client side: key, known host, password.
        fs::remove_all(server_->clientHome());
        fs::copy(work_.path() / "whole client", server_->clientHome(), fs::copy_options::recursive);
        refusal.prepare();
        std::vector<std::string> arguments = {"--home", home_.string(), "publish",
                                              (refusal.folder.empty() ? site_ : refusal.folder).string(),
                                              refusal.url.empty() ? www : refusal.url};
        if (GetParam() == Protocol::Ftps && !std::string_view(refusal.what).starts_with("certificate"))
            arguments.insert(arguments.end(), {"--cacert", server_->certificate().string()});
        std::ostringstream out, err;
        EXPECT_EQ(cli::run(arguments, out, err), 1);
        for (const std::string& part : refusal.says) EXPECT_NE(err.str().find(part), std::string::npos) << err.str();
        if (refusal.folder.empty()) {
            EXPECT_EQ(err.str().find("«/»"), std::string::npos) << "the remote folder is named as the server has it";
        }
        EXPECT_EQ((out.str() + err.str()).find(password), std::string::npos) << err.str();
        EXPECT_TRUE(readTree(server_->root()).empty());
        running.reset();
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
