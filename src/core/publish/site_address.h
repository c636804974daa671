#pragma once

#include <string>
#include <string_view>

// Where a folder is published: a remote folder on an SFTP, FTPS or FTP host.
namespace gamarium::publish {

enum class Protocol { Sftp, Ftps, Ftp };

struct SiteAddress {
    Protocol protocol = Protocol::Sftp;
    std::string user;   // may be empty: ~/.netrc names the login then
    std::string host;   // as the URL gives it ("[::1]" for an IPv6 address)
    long port = 0;
    std::string path;   // the remote folder, decoded, one '/' between parts, none at the end
    std::string shown;  // the address as messages give it: scheme://user@host:port/path

    // The libcurl URL of a file or folder below the remote folder (`relative`
    // uses '/'; empty: the remote folder itself; a trailing '/' names a folder).
    // FTPS is spoken as FTP with TLS demanded, so its URL says ftp://.
    std::string urlOf(std::string_view relative) const;
    // The URL of the server alone, to log in without touching any folder.
    std::string serverUrl() const;
    // The remote path of a file below the remote folder, as SFTP commands
    // take it: a path under "/~/" becomes relative, that is under the home.
    std::string sftpPathOf(std::string_view relative) const;
};

// Reads sftp://USER@HOST[:PORT]/PATH, ftps://... (explicit TLS) or ftp://...;
// throws Error for another scheme, a URL holding a password, a '#' or '?'
// (written %23 and %3F in a folder's name), a port outside 1 to 65535, or
// no host. Its messages never show a password.
SiteAddress parseSiteAddress(const std::string& url);

} // namespace gamarium::publish
