#include "core/publish/file_key.h"

#include <chrono>

#include <sys/stat.h>

namespace gamarium::publish {
namespace {

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

} // namespace

std::optional<FileKey> regularFileKey(const files::Path& path) {
    struct stat status;
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return FileKey{static_cast<std::uint64_t>(status.st_size), nanoseconds(status.st_mtim),
                   nanoseconds(status.st_ctim), static_cast<std::uint64_t>(status.st_ino),
                   static_cast<std::uint64_t>(status.st_dev)};
}

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace gamarium::publish
