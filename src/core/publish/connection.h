#pragma once

#include "core/error.h"
#include "core/files/files.h"
#include "core/publish/host_key.h"
#include "core/publish/remote_listing.h"
#include "core/publish/sent_record.h"
#include "core/publish/site_address.h"

#include <curl/curl.h>

#include <atomic>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace gamarium::publish {

// An unknown SSH host key that the user is asked to trust.
struct HostKeyQuestion {
    std::string host;
    long port = 0;
    HostKey key;
};

// Who logs in and what is trusted, for every connection of a run.
struct Access {
    files::Path userHome;                 // ~/.netrc and ~/.ssh/ are read there
    std::optional<std::string> password;  // typed in the window, for this run only
    files::Path caCertificates;           // FTPS: empty for the system's authorities
    // Asked when an SSH server's key is not in known_hosts: true adds it
    // there. Without it such a server is refused with a message.
    std::function<bool(const HostKeyQuestion&)> trustUnknownHostKey;
};

// The server could not be reached, or refused the login or its own
// identity: nothing any file can change.
class ConnectionError : public Error {
public:
    using Error::Error;
};
// An operation on one remote file or folder failed; the message names it
// and quotes the server's answer.
class FileFailure : public Error {
public:
    using Error::Error;
};
// The server refused the user's name and password or key.
class LoginRefused : public ConnectionError {
public:
    using ConnectionError::ConnectionError;
};
// A file was not put in place as a folder (or a link) stands there on the
// server: the program never moves or replaces one. The message says so.
class FolderInTheWay : public Error {
public:
    using Error::Error;
};

// One connection to the server (libcurl keeps it open between operations).
// Paths are relative to the remote folder, '/' between parts.
class Connection {
public:
    Connection(const SiteAddress& address, const Access& access);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Connects and logs in, checking the server's key or certificate.
    void login();
    // Every operation from now on stops as soon as `flag` is set.
    void abandonWhen(const std::atomic<bool>& flag) { abandoned_ = &flag; }
    // Sends a file as `temporary` beside `path` (making missing folders)
    // and puts it in place of the old one only when whole: by one rename
    // where the server replaces a file so, else by moving the old one aside
    // as `aside` first. Returns what was sent; `asideLeft` when the old one
    // stayed under `aside` as the server would not remove it. Throws
    // FolderInTheWay, leaving nothing behind, when `path` is a folder there.
    struct Sent {
        SentFile file;
        bool asideLeft = false;
    };
    Sent upload(const files::Path& local, const std::string& path, const std::string& temporary,
                const std::string& aside);
    // Removes a file; a file that is already gone counts as removed.
    void remove(const std::string& path);
    // The entries of a folder; nothing when there is no such folder.
    std::optional<std::vector<RemoteEntry>> list(const std::string& folder);

private:
    void prepare(const std::string& url);
    CURLcode perform();
    // Runs server commands in `folder` (FTP's current folder, SFTP's paths).
    CURLcode runCommands(const std::string& folder, const std::vector<std::string>& commands);
    std::vector<std::string> renameCommands(const std::string& folder, const std::string& from,
                                            const std::string& to) const;
    std::string removeCommand(const std::string& folder, const std::string& name) const;
    // Removes a temporary the server would not put in place; false when the
    // server no longer answers.
    bool dropTemporary(const std::string& folder, const std::string& temporary);
    // Whether the entry `name` of the remote `folder` is a folder (or a
    // link): each folder is listed once a connection, as no run makes a
    // folder where it sends a file.
    bool isFolder(const std::string& folder, const std::string& name);
    // After the login was refused over SSH: whether the server still
    // answers. libcurl ends a login cut short by a server that stopped as
    // it ends a refused one.
    bool stillAnswers();
    // Throws the error for a failed operation on `path`.
    [[noreturn]] void fail(CURLcode code, const std::string& what);
    [[noreturn]] void failWith(CURLcode code, const std::string& what, const std::string& answer);
    std::string serverAnswer(CURLcode code) const;

    static int checkHostKey(CURL*, const curl_khkey* known, const curl_khkey* found, curl_khmatch match, void* self);
    static int onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* self);
    static int onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t);

    const SiteAddress& address_;
    const Access& access_;
    CURL* curl_;
    struct curl_slist* commands_ = nullptr;
    char errorText_[CURL_ERROR_SIZE] = {};
    std::string lastReply_;      // the server's last FTP reply line
    std::string hostKeyRefusal_; // why the SSH host key was refused
    bool mlsdRefused_ = false;
    bool loggedIn_ = false;     // an operation succeeded: the server was there
    std::map<std::string, std::set<std::string>> folderNames_;  // by remote folder, for isFolder

    const std::atomic<bool>* abandoned_ = nullptr;
};

} // namespace gamarium::publish
