#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <string>
#include <vector>

namespace gamarium::publish {

// A file of the folder being published.
struct LocalFile {
    std::string path;  // relative to the folder, '/' between parts, the system's bytes
    std::uint64_t size = 0;
    std::string hash;
};

// Every regular file below `folder` (links to files followed, links to
// folders not), with its size and content hash, sorted by path. The
// program's own temporary files (a generator run that was killed) are not
// part of the site. Throws Error when the folder cannot be read or a name
// holds a control character, which no server command can carry safely.
std::vector<LocalFile> listLocalFiles(const files::Path& folder);

} // namespace gamarium::publish
