#include "core/publish/connection.h"

#include "core/files/content_hash.h"
#include "core/publish/curl_library.h"

#include <cstdio>
#include <system_error>

namespace gamarium::publish {
namespace {

// The folder part and the name of a relative path.
std::pair<std::string, std::string> splitPath(const std::string& path) {
    return {remoteFolderOf(path), remoteNameOf(path)};
}

// A path as SFTP commands read it: in double quotes, with '"' and '\' escaped.
std::string quoted(const std::string& path) {
    std::string text = "\"";
    for (const char c : path) {
        if (c == '"' || c == '\\') text += '\\';
        text += c;
    }
    return text + '"';
}

// The file being sent, hashed as it is read, so that the record keeps
// what went out even if the file changes meanwhile.
struct Source {
    std::FILE* file = nullptr;
    files::ContentHash hash;
    std::uint64_t size = 0;
};

std::size_t readAndHash(char* buffer, std::size_t size, std::size_t count, void* data) {
    auto* source = static_cast<Source*>(data);
    const std::size_t read = std::fread(buffer, size, count, source->file);
    if (read == 0 && std::ferror(source->file)) return CURL_READFUNC_ABORT;
    source->hash.add(buffer, read);
    source->size += read;
    return read;
}

std::size_t collect(char* data, std::size_t size, std::size_t count, void* text) {
    static_cast<std::string*>(text)->append(data, size * count);
    return size * count;
}

// The key pair ssh would try first among the usual names.
std::optional<files::Path> sshKey(const files::Path& userHome) {
    for (const char* name : {"id_ed25519", "id_ecdsa", "id_rsa"}) {
        const files::Path key = userHome / ".ssh" / name;
        if (files::fileExists(key) && files::fileExists(files::Path(key) += ".pub")) return key;
    }
    return std::nullopt;
}

// Failures after which the connection is gone, so nothing more is tried on it.
bool connectionLost(CURLcode code) {
    return code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_SEND_ERROR ||
           code == CURLE_RECV_ERROR || code == CURLE_OPERATION_TIMEDOUT || code == CURLE_GOT_NOTHING ||
           code == CURLE_SSL_CONNECT_ERROR || code == CURLE_FTP_ACCEPT_FAILED ||
           code == CURLE_FTP_CANT_GET_HOST || code == CURLE_WEIRD_SERVER_REPLY;
}

std::string lostWhileLoggingIn(const SiteAddress& address, const std::string& answer) {
    return "Связь с сервером " + address.host + ":" + std::to_string(address.port) + " прервалась во время входа" +
           (answer.empty() ? "" : ": " + answer) + ".";
}

} // namespace

Connection::Connection(const SiteAddress& address, const Access& access)
    : address_(address), access_(access), curl_(curl().easyInit()) {
    if (!curl_) throw Error("Не хватает памяти для соединения с сервером.");
}

Connection::~Connection() {
    curl().easyCleanup(curl_);
    curl().slistFreeAll(commands_);
}

void Connection::prepare(const std::string& url) {
    curl().easyReset(curl_);
    curl().slistFreeAll(commands_);
    commands_ = nullptr;
    errorText_[0] = '\0';
    lastReply_.clear();
    curl().easySetopt(curl_, CURLOPT_URL, url.c_str());
    curl().easySetopt(curl_, CURLOPT_ERRORBUFFER, errorText_);
    curl().easySetopt(curl_, CURLOPT_NOSIGNAL, 1L);
    curl().easySetopt(curl_, CURLOPT_CONNECTTIMEOUT, 30L);
    curl().easySetopt(curl_, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
    // A server that stops answering mid-file is given up after a minute.
    curl().easySetopt(curl_, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl().easySetopt(curl_, CURLOPT_LOW_SPEED_TIME, 60L);
    const std::string netrc = (access_.userHome / ".netrc").string();
    curl().easySetopt(curl_, CURLOPT_NETRC, static_cast<long>(CURL_NETRC_OPTIONAL));
    curl().easySetopt(curl_, CURLOPT_NETRC_FILE, netrc.c_str());
    if (access_.password) curl().easySetopt(curl_, CURLOPT_PASSWORD, access_.password->c_str());
    if (abandoned_) {
        curl().easySetopt(curl_, CURLOPT_XFERINFOFUNCTION, &Connection::onProgress);
        curl().easySetopt(curl_, CURLOPT_XFERINFODATA, this);
        curl().easySetopt(curl_, CURLOPT_NOPROGRESS, 0L);
    }
    if (address_.protocol == Protocol::Sftp) {
        long methods = CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_AGENT | CURLSSH_AUTH_KEYBOARD;
        if (const auto key = sshKey(access_.userHome)) {
            methods |= CURLSSH_AUTH_PUBLICKEY;
            curl().easySetopt(curl_, CURLOPT_SSH_PRIVATE_KEYFILE, key->c_str());
            curl().easySetopt(curl_, CURLOPT_SSH_PUBLIC_KEYFILE, (files::Path(*key) += ".pub").c_str());
        }
        curl().easySetopt(curl_, CURLOPT_SSH_AUTH_TYPES, methods);
        const std::string knownHosts = (access_.userHome / ".ssh" / "known_hosts").string();
        curl().easySetopt(curl_, CURLOPT_SSH_KNOWNHOSTS, knownHosts.c_str());
        curl().easySetopt(curl_, CURLOPT_SSH_KEYFUNCTION, &Connection::checkHostKey);
        curl().easySetopt(curl_, CURLOPT_SSH_KEYDATA, this);
    } else {
        if (address_.protocol == Protocol::Ftps) {
            curl().easySetopt(curl_, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
            // vsftpd (and others) demand that each data connection resume the
            // control connection's TLS session; with TLS 1.3 tickets the
            // second transfer of a connection is refused, so 1.2 is spoken.
            curl().easySetopt(curl_, CURLOPT_SSLVERSION,
                             static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
            if (!access_.caCertificates.empty())
                curl().easySetopt(curl_, CURLOPT_CAINFO, access_.caCertificates.c_str());
        }
        // The server's replies, to quote its answer when something fails.
        curl().easySetopt(curl_, CURLOPT_DEBUGFUNCTION, &Connection::onDebug);
        curl().easySetopt(curl_, CURLOPT_DEBUGDATA, this);
        curl().easySetopt(curl_, CURLOPT_VERBOSE, 1L);
    }
}

CURLcode Connection::perform() {
    const CURLcode code = curl().easyPerform(curl_);
    if (code == CURLE_OK) {
        loggedIn_ = true;
        return code;
    }
    const std::string server = address_.host + ":" + std::to_string(address_.port);
    switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_CONNECT:
        if (loggedIn_)
            throw ConnectionError("Связь с сервером " + server + " прервалась, и соединиться снова не удаётся: " +
                                  serverAnswer(code) + ".");
        throw ConnectionError("Не удаётся соединиться с сервером " + server + ": " + serverAnswer(code) + ".");
    case CURLE_LOGIN_DENIED:
        if (address_.protocol == Protocol::Sftp && !stillAnswers()) throw ConnectionError(lostWhileLoggingIn(address_, ""));
        throw LoginRefused(
            "Сервер " + server + " не принял вход" + (address_.user.empty() ? "" : " пользователя " + address_.user) +
            ": " + serverAnswer(code) + ". " +
            (address_.protocol == Protocol::Sftp
                 ? "По SFTP программа входит с ключом из ~/.ssh (id_ed25519, id_ecdsa или id_rsa), через ssh-agent "
                   "или с паролем из ~/.netrc."
                 : "Пароль FTP берётся из ~/.netrc: строка «machine " + address_.host + " login " +
                       (address_.user.empty() ? "ИМЯ" : address_.user) + " password ПАРОЛЬ»."));
    case CURLE_PEER_FAILED_VERIFICATION:
        if (!hostKeyRefusal_.empty()) throw ConnectionError(hostKeyRefusal_);
        [[fallthrough]];
    case CURLE_SSL_CACERT_BADFILE:
        throw ConnectionError("Сертификат сервера " + server + " не подтверждён: " + serverAnswer(code) +
                              ". Если сервер пользуется своим сертификатом, укажите его: --cacert ФАЙЛ.");
    case CURLE_USE_SSL_FAILED:
        throw ConnectionError("Сервер " + server + " не включает шифрование (AUTH TLS): FTPS с ним невозможен.");
    default:
        return code;
    }
}

std::string Connection::serverAnswer(CURLcode code) const {
    std::string answer = errorText_[0] ? std::string(errorText_) : std::string(curl().easyStrerror(code));
    if (!lastReply_.empty() && !connectionLost(code) && answer.find(lastReply_) == std::string::npos)
        answer += " (ответ сервера: «" + lastReply_ + "»)";
    return answer;
}

void Connection::fail(CURLcode code, const std::string& what) {
    failWith(code, what, serverAnswer(code));
}

void Connection::failWith(CURLcode code, const std::string& what, const std::string& answer) {
    const std::string where = "«" + what + "» на " + address_.host + ":" + std::to_string(address_.port) + ": ";
    if (connectionLost(code)) throw FileFailure(where + "связь с сервером прервалась: " + answer + ".");
    throw FileFailure(where + answer + ".");
}

int Connection::onDebug(CURL*, curl_infotype type, char* data, std::size_t size, void* self) {
    if (type != CURLINFO_HEADER_IN) return 0;
    std::string line(data, size);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (const std::size_t end = line.rfind('\n'); end != std::string::npos) line.erase(0, end + 1);
    if (!line.empty()) static_cast<Connection*>(self)->lastReply_ = line;
    return 0;
}

int Connection::onProgress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Connection*>(self)->abandoned_->load() ? 1 : 0;
}

int Connection::checkHostKey(CURL*, const curl_khkey*, const curl_khkey* found, curl_khmatch match, void* data) {
    auto* self = static_cast<Connection*>(data);
    if (match == CURLKHMATCH_OK) return CURLKHSTAT_FINE;
    try {
        const SiteAddress& address = self->address_;
        const files::Path knownHosts = self->access_.userHome / ".ssh" / "known_hosts";
        const std::string_view blob(found->key, found->len ? found->len : std::char_traits<char>::length(found->key));
        const HostKey key = hostKeyFromBlob(blob);
        const std::string server = address.host + " (порт " + std::to_string(address.port) + ")";
        const std::string keyscan = "ssh-keyscan -p " + std::to_string(address.port) + " " + address.host + " >> " +
                                    knownHosts.string();
        if (match == CURLKHMATCH_MISSING) {
            if (self->access_.trustUnknownHostKey &&
                self->access_.trustUnknownHostKey(HostKeyQuestion{address.host, address.port, key})) {
                trustHostKey(knownHosts, address.host, address.port, key);
                return CURLKHSTAT_FINE;
            }
            self->hostKeyRefusal_ = "Ключ сервера " + server + " не записан в " + knownHosts.string() + ": " +
                                    key.type + " " + key.fingerprint +
                                    ". Если это ваш сервер и отпечаток тот же, что у его ключа, добавьте ключ командой «" +
                                    keyscan + "» и запустите публикацию снова.";
        } else {
            self->hostKeyRefusal_ =
                "Ключ сервера " + server + " не совпадает с записанным в " + knownHosts.string() +
                ": сервер показывает " + key.type + " " + key.fingerprint +
                ". Так бывает после переустановки сервера, но так выглядит и подмена. Если ключ сменили, удалите "
                "старый командой «ssh-keygen -R '" + knownHostsName(address.host, address.port) + "' -f " +
                knownHosts.string() + "», добавьте новый командой «" + keyscan + "» и запустите публикацию снова.";
        }
    } catch (const std::exception& error) {
        self->hostKeyRefusal_ = error.what();
    }
    return CURLKHSTAT_REJECT;
}

std::vector<std::string> Connection::renameCommands(const std::string& folder, const std::string& from,
                                                    const std::string& to) const {
    if (address_.protocol == Protocol::Sftp)
        return {"rename " + quoted(address_.sftpPathOf(joinRemotePath(folder, from))) + " " +
                quoted(address_.sftpPathOf(joinRemotePath(folder, to)))};
    return {"RNFR " + from, "RNTO " + to};
}

std::string Connection::removeCommand(const std::string& folder, const std::string& name) const {
    if (address_.protocol == Protocol::Sftp) return "rm " + quoted(address_.sftpPathOf(joinRemotePath(folder, name)));
    return "DELE " + name;
}

CURLcode Connection::runCommands(const std::string& folder, const std::vector<std::string>& commands) {
    prepare(address_.urlOf(folder.empty() ? folder : folder + "/"));
    for (const std::string& command : commands) commands_ = curl().slistAppend(commands_, command.c_str());
    curl().easySetopt(curl_, CURLOPT_NOBODY, 1L);
    // After the folder is entered: FTP's commands name files in it.
    curl().easySetopt(curl_, CURLOPT_POSTQUOTE, commands_);
    return perform();
}

void Connection::login() {
    prepare(address_.serverUrl());
    curl().easySetopt(curl_, CURLOPT_NOBODY, 1L);
    const CURLcode code = perform();
    if (code == CURLE_OK) return;
    // libssh2 fails so when the connection closes before the session is
    // set up: the server stopped, or would not take one more connection.
    if (address_.protocol == Protocol::Sftp && (code == CURLE_SSH || code == CURLE_FAILED_INIT))
        throw ConnectionError(lostWhileLoggingIn(address_, serverAnswer(code)));
    fail(code, address_.shown);
}

bool Connection::stillAnswers() {
    prepare(address_.serverUrl());
    curl().easySetopt(curl_, CURLOPT_NOBODY, 1L);
    // The server's login methods only: no password or key is tried again.
    curl().easySetopt(curl_, CURLOPT_SSH_AUTH_TYPES, static_cast<long>(CURLSSH_AUTH_NONE));
    const CURLcode code = curl().easyPerform(curl_);
    return code == CURLE_LOGIN_DENIED || code == CURLE_OK;
}

bool Connection::dropTemporary(const std::string& folder, const std::string& temporary) {
    try {
        return !connectionLost(runCommands(folder, {"*" + removeCommand(folder, temporary)}));
    } catch (const ConnectionError&) {
        return false;
    }
}

bool Connection::isFolder(const std::string& folder, const std::string& name) {
    auto known = folderNames_.find(folder);
    if (known == folderNames_.end()) {
        std::set<std::string> names;
        if (const auto entries = list(folder))
            for (const RemoteEntry& entry : *entries)
                if (!entry.isFile) names.insert(entry.name);
        known = folderNames_.emplace(folder, std::move(names)).first;
    }
    return known->second.count(name) > 0;
}

Connection::Sent Connection::upload(const files::Path& local, const std::string& path, const std::string& temporary,
                                    const std::string& aside) {
    const auto [folder, name] = splitPath(path);
    Source source;
    source.file = std::fopen(local.c_str(), "rb");
    if (!source.file) throw Error("Не удаётся прочитать файл «" + local.string() + "».");
    std::error_code ec;
    const auto size = std::filesystem::file_size(local, ec);
    prepare(address_.urlOf(joinRemotePath(folder, temporary)));
    curl().easySetopt(curl_, CURLOPT_UPLOAD, 1L);
    curl().easySetopt(curl_, CURLOPT_READFUNCTION, &readAndHash);
    curl().easySetopt(curl_, CURLOPT_READDATA, &source);
    if (!ec) curl().easySetopt(curl_, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl().easySetopt(curl_, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    for (const std::string& command : renameCommands(folder, temporary, name))
        commands_ = curl().slistAppend(commands_, command.c_str());
    curl().easySetopt(curl_, CURLOPT_POSTQUOTE, commands_);
    CURLcode code = CURLE_OK;
    try {
        code = perform();
    } catch (...) {
        std::fclose(source.file);
        throw;
    }
    std::fclose(source.file);
    Sent sent{{source.size, source.hash.hex()}, false};
    if (code == CURLE_OK) return sent;
    if (code != CURLE_QUOTE_ERROR) {
        // libcurl ends an SFTP error with "(status/libssh2 error)": -31 is
        // an answer of the server, anything else a connection that broke.
        // A failed write says nothing at all.
        const std::string_view text(errorText_);
        bool refusedBySftp = code == CURLE_SSH && (text.empty() || text.find("/-31)") != std::string_view::npos);
        if (code == CURLE_SSH && !refusedBySftp) code = CURLE_RECV_ERROR;
        const std::string answer = serverAnswer(code);
        // A refused file is not left under its temporary name where the
        // server still answers (the next run removes it otherwise). SFTP
        // says no more of a write cut short by a server that stopped than
        // of a full disk: the connection tells them apart.
        if (!connectionLost(code) && !dropTemporary(folder, temporary)) {
            code = CURLE_RECV_ERROR;
            refusedBySftp = false;
        }
        // SFTP as OpenSSH speaks it says only "failure" for a full disk.
        failWith(code, path,
                 refusedBySftp ? answer + " (сервер не принял запись: так бывает, когда на его диске нет места или "
                                          "нет прав на папку)"
                               : answer);
    }
    // The file is whole under its temporary name, but the server would not
    // rename it over the old one (SFTP as OpenSSH speaks it never does), or
    // a folder has that name.
    if (isFolder(folder, name)) {
        dropTemporary(folder, temporary);
        throw FolderInTheWay("на сервере на его месте папка, а папки программа не перемещает и не заменяет");
    }
    std::vector<std::string> replace = renameCommands(folder, name, aside);
    for (std::string& command : renameCommands(folder, temporary, name)) replace.push_back(std::move(command));
    code = runCommands(folder, replace);
    if (code != CURLE_OK) fail(code, path);
    sent.asideLeft = runCommands(folder, {removeCommand(folder, aside)}) != CURLE_OK;
    return sent;
}

void Connection::remove(const std::string& path) {
    const auto [folder, name] = splitPath(path);
    const CURLcode code = runCommands(folder, {removeCommand(folder, name)});
    if (code == CURLE_OK) return;
    const std::string answer = serverAnswer(code);
    const auto entries = list(folder);
    if (!entries) return;
    for (const RemoteEntry& entry : *entries)
        if (entry.name == name) failWith(code, path, answer);
}

std::optional<std::vector<RemoteEntry>> Connection::list(const std::string& folder) {
    const std::string url = address_.urlOf(folder.empty() ? folder : folder + "/");
    std::string listing;
    const bool ftp = address_.protocol != Protocol::Sftp;
    if (ftp && !mlsdRefused_) {
        prepare(url);
        curl().easySetopt(curl_, CURLOPT_CUSTOMREQUEST, "MLSD");
        curl().easySetopt(curl_, CURLOPT_WRITEFUNCTION, &collect);
        curl().easySetopt(curl_, CURLOPT_WRITEDATA, &listing);
        const CURLcode code = perform();
        if (code == CURLE_OK) return parseMlsd(listing);
        if (code == CURLE_REMOTE_ACCESS_DENIED) return std::nullopt;
        // 500 to 502: the server does not know MLSD; LIST then.
        if (code != CURLE_FTP_COULDNT_RETR_FILE || !lastReply_.starts_with("50")) fail(code, folder + "/");
        mlsdRefused_ = true;
        listing.clear();
    }
    prepare(url);
    // -a: vsftpd and others leave out names that begin with a dot otherwise.
    if (ftp) curl().easySetopt(curl_, CURLOPT_CUSTOMREQUEST, "LIST -a");
    curl().easySetopt(curl_, CURLOPT_WRITEFUNCTION, &collect);
    curl().easySetopt(curl_, CURLOPT_WRITEDATA, &listing);
    const CURLcode code = perform();
    if (code == CURLE_OK) return parseLongListing(listing);
    if (code == (ftp ? CURLE_REMOTE_ACCESS_DENIED : CURLE_REMOTE_FILE_NOT_FOUND)) return std::nullopt;
    fail(code, folder + "/");
}

} // namespace gamarium::publish
