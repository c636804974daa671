// A site's address as the user types it, read as a publish run reads it.
// What is read names the place the text names: the user and the remote
// folder are the URL's own, each %XX decoded, and the URL of the folder
// handed to libcurl reads back as the same user, server and folder.
#include "fields_input.h"

#include "core/error.h"
#include "core/publish/curl_library.h"
#include "core/publish/site_address.h"

#include <filesystem>
#include <optional>
#include <string>

namespace {

using namespace gamarium::publish;

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if ((c | 0x20) >= 'a' && (c | 0x20) <= 'f') return (c | 0x20) - 'a' + 10;
    return -1;
}

// A part of `url` as it is written, its %XX decoded here; empty when the
// URL has none.
std::string writtenPart(const std::string& url, CURLUPart which) {
    CURLU* parsed = curl().url();
    std::string decoded;
    char* written = nullptr;
    if (curl().urlSet(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE) == CURLUE_OK &&
        curl().urlGet(parsed, which, &written, 0) == CURLUE_OK) {
        for (const char* c = written; *c; ++c) {
            if (c[0] == '%' && hexDigit(c[1]) >= 0 && hexDigit(c[2]) >= 0) {
                decoded += static_cast<char>(hexDigit(c[1]) * 16 + hexDigit(c[2]));
                c += 2;
            } else {
                decoded += *c;
            }
        }
        curl().free(written);
    }
    curl().urlCleanup(parsed);
    return decoded;
}

// "." and ".." taken out, as libcurl takes them out of a URL's path.
std::string normal(const std::string& path) {
    std::string normalPath = std::filesystem::path(path).lexically_normal().generic_string();
    while (normalPath.size() > 1 && normalPath.back() == '/') normalPath.pop_back();
    return normalPath;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string url(gamarium::fuzz::asText(data, size));
    SiteAddress address;
    try {
        address = parseSiteAddress(url);
    } catch (const gamarium::Error&) {
        return 0;
    }
    std::string path = writtenPart(url, CURLUPART_PATH);
    while (path.size() > 1 && path.back() == '/') path.pop_back();
    // Slashes doubled inside a folder are one ("//" leading an FTP path
    // stays, as there it means the server's root).
    if (address.user != writtenPart(url, CURLUPART_USER) || normal(address.path) != normal(path.empty() ? "/" : path))
        __builtin_trap();
    SiteAddress again;
    try {
        again = parseSiteAddress(address.urlOf(""));
    } catch (const gamarium::Error&) {
        __builtin_trap();
    }
    // A host may be written so that libcurl reads it otherwise once in a
    // URL of its own ("1%31" is the address "0.0.0.11").
    if (again.user != address.user || again.host != writtenPart("sftp://" + address.host + "/", CURLUPART_HOST) ||
        again.port != address.port ||
        normal(again.path) != normal(address.path))
        __builtin_trap();
    address.sftpPathOf("index.htm");
    return 0;
}
