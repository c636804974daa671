#include "test_servers.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <thread>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace gamarium::testing {
namespace fs = std::filesystem;

namespace {

constexpr const char* kAccount = "gamarium-publish";
constexpr const char* kAccountFolder = "/var/lib/gamarium-publish-test";

void run(const std::string& command) {
    if (std::system(command.c_str()) != 0) throw std::runtime_error("failed: " + command);
}

std::string quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

long freePort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t size = sizeof address;
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    close(s);
    return ntohs(address.sin_port);
}

bool listening(long port) {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected = connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(s);
    return connected;
}

int openLock(const char* name) {
    return ::open((std::string(kAccountFolder) + "/" + name).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
}

// The account's use by this process, ended when the process ends: the
// account goes with the last process using it.
class AccountLease {
public:
    static int users() {
        static AccountLease lease;
        return lease.users_;
    }
    ~AccountLease() {
        const int lock = openLock("account");
        flock(lock, LOCK_EX);
        if (flock(users_, LOCK_EX | LOCK_NB) == 0 && getpwnam(kAccount)) {
            std::error_code ec;
            if (std::system((std::string("userdel --remove ") + kAccount + " 2>/dev/null").c_str()) == 0)
                fs::remove(fs::path(kAccountFolder) / "password", ec);
        }
        close(users_);
        close(lock);
    }

private:
    AccountLease() : users_(openLock("users")) {}
    int users_;
};

TestAccount makeAccount() {
    TestAccount account;
    if (geteuid() != 0) {
        const passwd* self = getpwuid(geteuid());
        account.name = self ? self->pw_name : "";
        account.uid = geteuid();
        account.gid = getegid();
        account.ftpReason = "FTP-тесты пропущены: vsftpd запускается только от root (он входит пользователем "
                            "через PAM); запустите тесты от root, как это делает CI.";
        return account;
    }
    // Made when missing, its random password kept where only root reads
    // it, so that test processes running side by side share it. Each holds
    // the "users" lock shared while it lives; the last to end removes the
    // account. Making and removing happen under the "account" lock, so no
    // process starts to use an account that is being removed.
    fs::create_directories(kAccountFolder);
    const int lock = openLock("account");
    flock(lock, LOCK_EX);
    flock(AccountLease::users(), LOCK_SH);
    const fs::path passwordFile = fs::path(kAccountFolder) / "password";
    std::ifstream(passwordFile) >> account.password;
    if (!getpwnam(kAccount) || account.password.empty()) {
        if (!getpwnam(kAccount)) run(std::string("useradd --create-home --shell /bin/bash ") + kAccount);
        std::random_device random;
        account.password = "Pw-" + std::to_string(random()) + "-" + std::to_string(random());
        run("echo '" + std::string(kAccount) + ":" + account.password + "' | chpasswd");
        std::ofstream(passwordFile) << account.password;
        fs::permissions(passwordFile, fs::perms::owner_read | fs::perms::owner_write);
    }
    flock(lock, LOCK_UN);
    close(lock);
    const passwd* user = getpwnam(kAccount);
    account.name = kAccount;
    account.uid = user->pw_uid;
    account.gid = user->pw_gid;
    return account;
}

pid_t spawn(const std::vector<std::string>& arguments, const fs::path& log) {
    const pid_t child = fork();
    if (child == 0) {
        setpgid(0, 0);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        dup2(out, 1);
        dup2(out, 2);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    setpgid(child, child);
    return child;
}

// The processes below `parent`, found through /proc: the servers' children
// serving connections start sessions of their own, so a process group would
// miss them.
std::vector<pid_t> descendants(pid_t parent) {
    std::vector<pid_t> found{parent};
    for (std::size_t i = 0; i < found.size(); ++i) {
        for (const auto& entry : fs::directory_iterator("/proc")) {
            const std::string name = entry.path().filename().string();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            std::ifstream stat(entry.path() / "stat");
            std::string line;
            std::getline(stat, line);
            const std::size_t close = line.rfind(')');
            if (close == std::string::npos) continue;
            std::istringstream fields(line.substr(close + 2));
            char state;
            pid_t ppid = 0;
            fields >> state >> ppid;
            if (ppid == found[i]) found.push_back(static_cast<pid_t>(std::stol(name)));
        }
    }
    return found;
}

} // namespace

const TestAccount& testAccount() {
    static const TestAccount account = makeAccount();
    return account;
}

void giveToAccount(const fs::path& path) {
    if (geteuid() == 0 && chown(path.c_str(), testAccount().uid, testAccount().gid) != 0)
        throw std::runtime_error("chown failed: " + path.string());
}

bool haveProgram(const std::string& program) {
    return access(program.c_str(), X_OK) == 0;
}

TestServer::TestServer(Kind kind, const fs::path& work)
    : kind_(kind), work_(work / (kind == Kind::Ssh ? "sshd" : "vsftpd")), root_(work / "remote"),
      client_(work / "client"), port_(freePort()) {
    const std::string program = kind == Kind::Ssh ? "/usr/sbin/sshd" : "/usr/sbin/vsftpd";
    if (!haveProgram(program))
        throw std::runtime_error(program + " is missing: scripts/setup.sh installs it (openssh-server, vsftpd)");
    fs::create_directories(work_);
    fs::create_directories(root_);
    fs::create_directories(client_ / ".ssh");
    fs::permissions(work, fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    giveToAccount(root_);
    config_ = work_ / "config";
    std::ofstream config(config_);
    if (kind == Kind::Ssh) {
        const fs::path hostKey = work_ / "host_key";
        if (!fs::exists(hostKey)) {
            run("ssh-keygen -q -t ed25519 -N '' -f " + quote(hostKey));
            run("ssh-keygen -q -t ed25519 -N '' -f " + quote(client_ / ".ssh" / "id_ed25519"));
            fs::copy_file(client_ / ".ssh" / "id_ed25519.pub", work_ / "authorized_keys");
        }
        // The client trusts this server's key from the start.
        std::ifstream hostPublic(fs::path(hostKey) += ".pub");
        std::string type, key;
        hostPublic >> type >> key;
        std::ofstream(client_ / ".ssh" / "known_hosts")
            << "[127.0.0.1]:" << port_ << " " << type << " " << key << "\n";
        if (geteuid() == 0) fs::create_directories("/run/sshd");
        // Its limits on connections are sshd's own, as on a host.
        config << "Port " << port_ << "\nListenAddress 127.0.0.1\nHostKey " << hostKey.string()
               << "\nAuthorizedKeysFile " << (work_ / "authorized_keys").string() << "\nPidFile "
               << (work_ / "sshd.pid").string() << "\nStrictModes no\nPasswordAuthentication yes\n"
               << "KbdInteractiveAuthentication no\nUsePAM " << (geteuid() == 0 ? "yes" : "no")
               << "\nAllowUsers " << testAccount().name << "\n"
               << "Subsystem sftp internal-sftp\n";
    } else {
        certificate_ = work_ / "server.crt";
        if (!fs::exists(certificate_))
            run("openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext "
                "subjectAltName=IP:127.0.0.1 -keyout " + quote(work_ / "server.key") + " -out " +
                quote(certificate_) + " 2>/dev/null");
        fs::create_directories(work_ / "empty");
        config << "listen=YES\nlisten_address=127.0.0.1\nlisten_port=" << port_
               << "\nbackground=NO\nanonymous_enable=NO\nlocal_enable=YES\nwrite_enable=YES\nlocal_umask=022\n"
               << "local_root=" << root_.string() << "\npasv_enable=YES\npasv_address=127.0.0.1\n"
               << "seccomp_sandbox=NO\nisolate=NO\nisolate_network=NO\nsecure_chroot_dir="
               << (work_ / "empty").string() << "\npam_service_name=vsftpd\nssl_enable=YES\nrsa_cert_file="
               << certificate_.string() << "\nrsa_private_key_file=" << (work_ / "server.key").string()
               << "\nforce_local_logins_ssl=NO\nforce_local_data_ssl=NO\nmax_clients=100\nmax_per_ip=100\n"
               << "vsftpd_log_file=" << (work_ / "vsftpd.log").string() << "\n";
    }
    config.close();
    start();
}

TestServer::~TestServer() {
    stop();
}

void TestServer::start() {
    if (pid_ > 0) return;
    pid_ = kind_ == Kind::Ssh ? spawn({"/usr/sbin/sshd", "-D", "-e", "-f", config_.string()}, work_ / "log")
                              : spawn({"/usr/sbin/vsftpd", config_.string()}, work_ / "log");
    for (int i = 0; i < 200 && !listening(port_); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    if (!listening(port_)) {
        std::ifstream log(work_ / "log");
        throw std::runtime_error("the server did not start: " +
                                 std::string(std::istreambuf_iterator<char>(log), std::istreambuf_iterator<char>()));
    }
}

void TestServer::stop() {
    if (pid_ <= 0) return;
    // The listener and the processes serving connections, as a crash or a
    // pulled cable would stop them.
    kill(pid_, SIGSTOP);
    for (const pid_t process : descendants(pid_)) kill(process, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
    for (int i = 0; i < 100 && listening(port_); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(20));
}

std::string TestServer::url(publish::Protocol protocol, const std::string& folder) const {
    const std::string scheme = protocol == publish::Protocol::Sftp   ? "sftp"
                               : protocol == publish::Protocol::Ftps ? "ftps"
                                                                      : "ftp";
    // SFTP paths are absolute; FTP's are below the login folder, which is root().
    const std::string path = protocol == publish::Protocol::Sftp ? (root_ / folder).string() : "/" + folder;
    return scheme + "://" + testAccount().name + "@127.0.0.1:" + std::to_string(port_) + path;
}

void TestServer::writeNetrc(const std::string& password) const {
    std::ofstream(client_ / ".netrc") << "machine 127.0.0.1 login " << testAccount().name << " password " << password
                                      << "\n";
}

} // namespace gamarium::testing
