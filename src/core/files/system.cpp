#include "core/files/system.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <sys/mman.h>
#include <unistd.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace gamarium::files {

Path executableFolder() {
#ifdef _WIN32
    wchar_t buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    return Path(std::wstring(buffer, length)).parent_path();
#else
    std::error_code ec;
    const Path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) : self.parent_path();
#endif
}

Path userHome() {
#ifdef _WIN32
    if (const wchar_t* profile = _wgetenv(L"USERPROFILE"); profile && *profile) return Path(profile);
#else
    if (const char* home = std::getenv("HOME"); home && *home) return Path(home);
#endif
    std::error_code ec;
    return std::filesystem::current_path(ec);
}

bool isWritable(const Path& path) {
#ifdef _WIN32
    return _waccess(path.c_str(), 2) == 0;
#else
    return ::access(path.c_str(), W_OK) == 0;
#endif
}

void keepModeAndOwner([[maybe_unused]] const Path& original, [[maybe_unused]] const Path& replacement) {
#ifndef _WIN32
    struct stat status;
    if (::stat(original.c_str(), &status) != 0) return;
    // Only root may give a file away; a member of the group may pass it that.
    const bool owned = ::chown(replacement.c_str(), status.st_uid, status.st_gid) == 0 ||
                       ::chown(replacement.c_str(), static_cast<uid_t>(-1), status.st_gid) == 0;
    // After the owner, as a change of owner clears the set-id bits; those
    // only where the file is now the old one's.
    ::chmod(replacement.c_str(), status.st_mode & (owned ? 07777 : 0777));
#endif
}

bool syncToDisk(const Path& path) {
#ifdef _WIN32
    // Folders cannot be flushed there; renames are written through.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::filesystem::is_directory(path);
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
#else
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (handle < 0) return false;
    const bool synced = ::fsync(handle) == 0;
    ::close(handle);
    return synced;
#endif
}

bool moveWithoutReplacing(const Path& from, const Path& to) {
#ifdef _WIN32
    return MoveFileExW(from.c_str(), to.c_str(), 0) != 0; // without MOVEFILE_REPLACE_EXISTING
#else
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
#endif
    // A file system without that move: a second name, then the first removed.
    if (::link(from.c_str(), to.c_str()) == 0) {
        ::unlink(from.c_str()); // the file is at `to` now whatever becomes of the old name
        return true;
    }
    if (errno != EPERM && errno != ENOTSUP) return false;
    std::error_code ec;
    if (std::filesystem::exists(to, ec)) return false;
    std::filesystem::rename(from, to, ec);
    return !ec;
#endif
}

std::vector<FolderEntry> folderEntries(const Path& folder) {
    std::vector<FolderEntry> entries;
#ifdef _WIN32
    // No inode here: a file is known by its full path with links resolved.
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code statusError;
        const auto status = it->status(statusError);
        if (statusError || !(is_regular_file(status) || is_directory(status))) continue;
        FolderEntry entry{it->path().filename(), it->is_symlink(statusError), is_directory(status)};
        if (!entry.folder) entry.size = it->file_size(statusError);
        entry.id.inode = std::hash<std::wstring>{}(std::filesystem::weakly_canonical(it->path(), statusError).native());
        entries.push_back(std::move(entry));
    }
#else
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return entries;
    while (const dirent* found = ::readdir(dir)) {
        const std::string_view name = found->d_name;
        if (name == "." || name == "..") continue;
        if (found->d_type != DT_REG && found->d_type != DT_DIR && found->d_type != DT_LNK && found->d_type != DT_UNKNOWN)
            continue;
        bool link = found->d_type == DT_LNK;
        struct stat status;
        int failed = ::fstatat(::dirfd(dir), found->d_name, &status, link ? 0 : AT_SYMLINK_NOFOLLOW);
        if (!failed && S_ISLNK(status.st_mode)) {
            link = true;
            failed = ::fstatat(::dirfd(dir), found->d_name, &status, 0);
        }
        if (failed || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode))) continue;
        entries.push_back({Path(name), link, S_ISDIR(status.st_mode),
                           S_ISREG(status.st_mode) ? static_cast<std::uintmax_t>(status.st_size) : 0,
                           {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)}});
    }
    ::closedir(dir);
#endif
    return entries;
}

std::vector<SizedFile> filesWithSizes(const Path& folder) {
    std::vector<SizedFile> files;
    for (FolderEntry& entry : folderEntries(folder))
        if (!entry.folder) files.push_back({folder / entry.name, entry.size});
    return files;
}

FileReader::FileReader(const Path& path) {
#ifdef _WIN32
    handle_ = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
    struct _stat64 status;
    if (handle_ >= 0 && (_fstat64(handle_, &status) != 0 || (status.st_mode & _S_IFMT) != _S_IFREG)) {
#else
    // Without waiting: opening a named pipe would wait for a writer for ever.
    handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat status;
    if (handle_ >= 0 && (::fstat(handle_, &status) != 0 || !S_ISREG(status.st_mode))) {
#endif
        close(handle_);
        handle_ = -1;
    }
    if (handle_ >= 0) size_ = static_cast<std::uint64_t>(status.st_size);
}

FileReader::FileReader(const Path& path, std::uint64_t listedSize) : size_(listedSize) {
#ifdef _WIN32
    handle_ = _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
#else
    handle_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
#endif
}

FileReader::~FileReader() {
    if (handle_ >= 0) close(handle_);
}

std::size_t FileReader::readAt(std::uint64_t offset, void* buffer, std::size_t count) const {
    std::size_t done = 0;
    while (handle_ >= 0 && done < count) {
#ifdef _WIN32
        if (_lseeki64(handle_, static_cast<__int64>(offset + done), SEEK_SET) < 0) break;
        const int got = _read(handle_, static_cast<char*>(buffer) + done, static_cast<unsigned>(count - done));
#else
        const ssize_t got = ::pread(handle_, static_cast<char*>(buffer) + done, count - done,
                                    static_cast<off_t>(offset + done));
#endif
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    return done;
}

namespace {

#ifdef _WIN32
using Status = struct _stat64;
#else
using Status = struct stat;
#endif

std::optional<FileStamp> stampOf(const Status& status) {
#ifdef _WIN32
    if ((status.st_mode & _S_IFMT) != _S_IFREG) return std::nullopt;
    // The file index would need the file opened; the date and size tell.
    return FileStamp{.size = static_cast<std::uint64_t>(status.st_size),
                     .changed = static_cast<std::int64_t>(status.st_mtime) * 1'000'000'000,
                     .identity = 0};
#else
    if (!S_ISREG(status.st_mode)) return std::nullopt;
    return FileStamp{.size = static_cast<std::uint64_t>(status.st_size),
                     .changed = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 +
                                status.st_mtim.tv_nsec,
                     .identity = static_cast<std::uint64_t>(status.st_ino)};
#endif
}

} // namespace

std::optional<FileStamp> fileStamp(const Path& path) {
    Status status;
#ifdef _WIN32
    if (_wstat64(path.c_str(), &status) != 0) return std::nullopt;
#else
    if (::stat(path.c_str(), &status) != 0) return std::nullopt;
#endif
    return stampOf(status);
}

OpenFolder::OpenFolder(Path folder) : folder_(std::move(folder)) {
#ifndef _WIN32
    handle_ = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
#endif
}

OpenFolder::~OpenFolder() {
    if (handle_ >= 0) close(handle_);
}

std::optional<FileStamp> OpenFolder::stamp(const Path& name) const {
#ifndef _WIN32
    Status status;
    if (handle_ >= 0 && name.is_relative())
        return ::fstatat(handle_, name.c_str(), &status, 0) == 0 ? stampOf(status) : std::nullopt;
#endif
    return fileStamp(folder_ / name);
}

FileBytes::FileBytes(const Path& path) {
#ifndef _WIN32
    const int handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat status {};
    if (handle >= 0 && ::fstat(handle, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0) {
        const auto size = static_cast<std::size_t>(status.st_size);
        void* mapped = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, handle, 0);
        if (mapped != MAP_FAILED) {
            mapped_ = mapped;
            bytes_ = std::string_view(static_cast<const char*>(mapped), size);
        }
    }
    if (handle >= 0)
        ::close(handle);
    if (mapped_)
        return;
#endif
    copy_ = readFile(path);
    bytes_ = copy_;
}

FileBytes::~FileBytes() {
#ifndef _WIN32
    if (mapped_)
        ::munmap(mapped_, bytes_.size());
#endif
}

void reuseFreedMemory() {
#ifdef __GLIBC__
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}

} // namespace gamarium::files
