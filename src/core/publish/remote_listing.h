#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gamarium::publish {

// One entry of a remote folder.
struct RemoteEntry {
    std::string name;
    std::uint64_t size = 0;
    bool isFile = false;
};

// Remote paths are relative to the remote folder, '/' between parts; the
// remote folder itself is the empty path.
std::string remoteFolderOf(const std::string& path);
std::string remoteNameOf(const std::string& path);
std::string joinRemotePath(const std::string& folder, const std::string& name);

// Entries of an FTP MLSD answer ("type=file;size=120; name" per line).
// Either reader leaves out a name that is not one entry inside the folder:
// empty, "." or "..", or holding a '/'.
std::vector<RemoteEntry> parseMlsd(std::string_view listing);
// Entries of a long listing as FTP's LIST and SFTP's directory reading give
// it ("-rw-r--r-- 1 user group 120 Dec 08 15:49 name" per line), a link's
// " -> target" cut off.
std::vector<RemoteEntry> parseLongListing(std::string_view listing);

} // namespace gamarium::publish
