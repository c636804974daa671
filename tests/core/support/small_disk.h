#pragma once

#include <csignal>
#include <filesystem>
#include <string>

#include <sys/mount.h>
#include <sys/resource.h>

namespace gamarium::testing {

// While it lives, writes under `folder` fail past 64 KiB: the folder is a
// small tmpfs where the test may mount one; elsewhere the process's file
// size limit makes the same write fail.
class SmallDisk {
public:
    static constexpr std::size_t kDiskBytes = 64 << 10;

    explicit SmallDisk(const std::filesystem::path& folder) : folder_(folder) {
        std::filesystem::create_directories(folder);
        mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + std::to_string(kDiskBytes)).c_str()) == 0;
        if (mounted_) return;
        // No mount here: a file may grow no larger than the disk would hold.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit small{kDiskBytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~SmallDisk() {
        if (mounted_)
            umount2(folder_.c_str(), MNT_DETACH);
        else
            setrlimit(RLIMIT_FSIZE, &saved_);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    const char* how() const { return mounted_ ? "a tmpfs of 64 KiB" : "a file size limit of 64 KiB"; }

private:
    std::filesystem::path folder_;
    bool mounted_ = false;
    rlimit saved_{};
};

} // namespace gamarium::testing
