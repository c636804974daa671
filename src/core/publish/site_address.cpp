#include "core/publish/site_address.h"

#include "core/error.h"
#include "core/publish/curl_library.h"
#include "core/text/printable.h"
#include "core/text/utf8_sequence.h"

#include <algorithm>
#include <memory>
#include <string_view>

namespace gamarium::publish {
namespace {

struct UrlDeleter {
    void operator()(CURLU* url) const { curl().urlCleanup(url); }
};

// One part of a parsed URL, decoded; empty when the URL has none. A part
// that cannot be decoded (a control character written as %XX) is refused:
// taken as empty, it would name the server's root folder or another login.
std::string part(CURLU* url, CURLUPart which, unsigned flags) {
    char* value = nullptr;
    const CURLUcode code = curl().urlGet(url, which, &value, flags);
    if (code == CURLUE_URLDECODE)
        throw Error("Имя пользователя или папка в адресе содержит управляющий символ (%00–%1F).");
    if (code != CURLUE_OK) return {};
    std::string text(value);
    curl().free(value);
    return text;
}

// Every byte but the unreserved ones (and '/' in a path) as %XX, so that
// any name (spaces, Cyrillic, '#', '?', '@') reaches the server as it is.
std::string percentEncoded(std::string_view path, bool keepSlashes = true) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        const bool plain = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                           (byte >= '0' && byte <= '9') || std::string_view("-._~").find(c) != std::string_view::npos ||
                           (keepSlashes && c == '/');
        if (plain) {
            encoded += c;
        } else {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        }
    }
    return encoded;
}

// The remote folder as one place has one name: SFTP reads "//" as "/", FTP
// too but for a leading "//", which makes the path absolute.
std::string oneSpelling(const std::string& path, Protocol protocol) {
    std::string single;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (path[i] != '/' || single.empty() || single.back() != '/' || (i == 1 && protocol != Protocol::Sftp))
            single += path[i];
    while (single.size() > 1 && single.back() == '/' && single != "//") single.pop_back();
    return single.empty() ? "/" : single;
}

} // namespace

// No message quotes the URL as typed: a password in it would be shown.
SiteAddress parseSiteAddress(const std::string& url) {
    const std::unique_ptr<CURLU, UrlDeleter> parsed(curl().url());
    if (!parsed) throw Error("Не хватает памяти для разбора адреса.");
    const std::string badPort = "Порт в адресе сайта должен быть числом от 1 до 65535.";
    const CURLUcode rc =
        curl().urlSet(parsed.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE);
    if (rc == CURLUE_BAD_PORT_NUMBER) throw Error(badPort);
    if (rc != CURLUE_OK)
        throw Error("Не удаётся разобрать адрес сайта: ожидается sftp://, ftps:// или ftp://ПОЛЬЗОВАТЕЛЬ@СЕРВЕР/ПАПКА.");
    SiteAddress address;
    const std::string scheme = part(parsed.get(), CURLUPART_SCHEME, 0);
    if (scheme == "sftp") {
        address.protocol = Protocol::Sftp;
        address.port = 22;
    } else if (scheme == "ftps") {
        address.protocol = Protocol::Ftps;
        address.port = 21;
    } else if (scheme == "ftp") {
        address.protocol = Protocol::Ftp;
        address.port = 21;
    } else {
        throw Error("Адрес сайта начинается с " + text::quoted(scheme + "://") +
                    ", а не с sftp://, ftps:// или ftp://.");
    }
    if (const std::string port = part(parsed.get(), CURLUPART_PORT, 0); !port.empty()) address.port = std::stol(port);
    if (address.port == 0) throw Error(badPort);
    address.user = part(parsed.get(), CURLUPART_USER, CURLU_URLDECODE);
    address.host = part(parsed.get(), CURLUPART_HOST, 0);
    address.path = oneSpelling(part(parsed.get(), CURLUPART_PATH, CURLU_URLDECODE), address.protocol);
    // libcurl decodes %XX in a host; a '%' left after that would be read
    // again in every URL made of the address (an IPv6 zone aside).
    if (!address.host.empty() && address.host.front() != '[' && address.host.find('%') != std::string::npos)
        throw Error("В адресе сайта в имени сервера знак % не образует кода %XX.");
    // Nor does a server name survive a URL of its own with a control
    // character or bytes that are no UTF-8 in it (%7F, %FF decoded).
    for (std::size_t at = 0; at < address.host.size();) {
        char32_t cp = 0;
        const std::size_t length = text::utf8SequenceAt(address.host, at, cp);
        if (length == 0 || cp < 0x20 || cp == 0x7F) throw Error("В адресе сайта имя сервера содержит недопустимый знак.");
        at += length;
    }
    // libcurl takes "." and ".." out of a path before decoding it; written
    // as %2E they are left, and would be taken out again, otherwise than
    // the server reads them, from every URL made of the address.
    for (std::size_t start = 0; start <= address.path.size();) {
        const std::size_t end = std::min(address.path.find('/', start), address.path.size());
        const std::string_view name = std::string_view(address.path).substr(start, end - start);
        if (name == "." || name == "..") throw Error("В адресе сайта папка содержит «.» или «..», записанные как %2E.");
        start = end + 1;
    }
    address.shown = scheme + "://" + (address.user.empty() ? "" : address.user + "@") + address.host + ":" +
                    std::to_string(address.port) + address.path;
    const std::string shown = text::quoted(address.shown, std::string::npos);
    if (!part(parsed.get(), CURLUPART_PASSWORD, 0).empty())
        throw Error("Адрес " + shown + " содержит пароль (здесь он не показан). Пароль не пишут в адресе: FTP и "
                    "FTPS берут его из ~/.netrc, SFTP входит по ключам SSH (или по паролю из ~/.netrc).");
    // libcurl would drop what follows either, and publish into the folder
    // before it.
    for (const char* mark : {"#", "?"})
        if (url.find(mark) != std::string::npos)
            throw Error("В адресе " + shown + " есть «" + mark + "»: всё после него не было бы частью папки. " +
                        "Если это часть имени папки, пишите его как " + (mark[0] == '#' ? "%23" : "%3F") + ".");
    if (address.host.empty()) throw Error("В адресе " + shown + " нет сервера.");
    return address;
}

std::string SiteAddress::serverUrl() const {
    // The user is named in the URL: libcurl looks the password up in .netrc
    // only for a user given so.
    std::string user = percentEncoded(this->user, false);
    if (!user.empty()) user += '@';
    return std::string(protocol == Protocol::Sftp ? "sftp://" : "ftp://") + user + host + ":" + std::to_string(port) +
           "/";
}

std::string SiteAddress::urlOf(std::string_view relative) const {
    std::string url = serverUrl();
    url.pop_back();
    std::string full = path;
    if (!relative.empty()) {
        if (full.back() != '/') full += '/';
        full += relative;
    } else if (full.back() != '/') {
        full += '/';
    }
    return url + percentEncoded(full);
}

std::string SiteAddress::sftpPathOf(std::string_view relative) const {
    std::string full = path;
    if (full.back() != '/') full += '/';
    full += relative;
    if (full.starts_with("/~/")) return full.substr(3);
    return full;
}

} // namespace gamarium::publish
