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

// What of a folder is published.
struct LocalFolder {
    std::vector<LocalFile> files;       // sorted by path
    std::vector<std::string> skipped;   // "PATH: why" for what is left out, as messages name it, sorted
};

// Every regular file below `folder`, with its size and content hash. Links
// are followed while they lead to a file or folder inside `folder`; one
// that leads out of it, into version control's folders or into a folder it
// lies in is skipped, as is a name holding a control character, which no
// server command can carry safely. Version control's folders (.git, .svn,
// .hg: their settings may hold passwords) and the program's own temporary
// files (a generator run that was killed) are not part of the site. A file
// whose key is the one `known` gives keeps the hash given there without
// being read; any other is read and hashed. Throws Error when a folder
// cannot be read.
LocalFolder listLocalFiles(const files::Path& folder, const KnownHashes& known = {});

// Throws Error for a folder no site is: the system's root, or one that
// holds the program folder `home` (its bases and records).
void refuseForeignFolder(const files::Path& folder, const files::Path& home);

} // namespace gamarium::publish
