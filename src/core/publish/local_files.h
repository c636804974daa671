#pragma once

#include "core/files/files.h"
#include "core/publish/file_key.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace gamarium::publish {

// A content hash and the key of the file it was taken under.
struct HashedFile {
    FileKey key;
    std::string hash;
};
// Hashes from an earlier run, by relative path.
using KnownHashes = std::map<std::string, HashedFile>;

// A file of the folder being published.
struct LocalFile {
    std::string path;  // relative to the folder, '/' between parts, the system's bytes
    std::uint64_t size = 0;
    std::string hash;
    // The key to keep with the hash for the next run; nothing when the
    // file changed too recently for its key to be trusted.
    std::optional<FileKey> trustedKey;
};

// Every regular file below `folder` (links to files followed, links to
// folders not), with its size and content hash, sorted by path. A file
// whose key is the one `known` gives keeps the hash given there without
// being read; any other is read and hashed. The program's own temporary
// files (a generator run that was killed) are not part of the site.
// Throws Error when the folder cannot be read or a name holds a control
// character, which no server command can carry safely.
std::vector<LocalFile> listLocalFiles(const files::Path& folder, const KnownHashes& known = {});

} // namespace gamarium::publish
