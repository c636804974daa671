#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <optional>

// What a file's content hash was taken under: while all of it stays the
// same, the content is taken to be the same (as make, rsync and git do),
// so an unchanged file is not read again. The status change time is part
// of it: nobody can set it back, so a file rewritten and given its old
// modification time again still differs.
namespace gamarium::publish {

struct FileKey {
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    std::uint64_t inode = 0;
    std::uint64_t device = 0;

    bool operator==(const FileKey&) const = default;

    // Whether both times lie before `cutoffNs`: a write after that moment
    // gives the file other times, so the key can be trusted next time.
    // A key taken within the clock's last tick could be met again by a
    // write in the same tick, and is not trusted.
    bool settledBefore(std::int64_t cutoffNs) const { return modifiedNs < cutoffNs && changedNs < cutoffNs; }
};

// The key of a regular file (links followed); nothing for anything else
// or a file that cannot be looked at.
std::optional<FileKey> regularFileKey(const files::Path& path);

// The system clock now, in nanoseconds, as file times count.
std::int64_t nowNs();

} // namespace gamarium::publish
