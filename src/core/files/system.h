#pragma once

#include "core/files/files.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What differs between the systems the program runs on.
namespace gamarium::files {

// The folder that holds the running executable.
Path executableFolder();

// The user's home folder (HOME; on Windows USERPROFILE), where ~/.netrc
// and ~/.ssh/ are; the current folder when neither is set.
Path userHome();

// Whether this process may change the file or folder (false also on a
// read-only medium). Root passes the permission bits, as the system lets it.
bool isWritable(const Path& path);

// Gives `replacement` the mode of `original`, and its owner and group as
// far as the process may; nothing when `original` does not exist.
void keepModeAndOwner(const Path& original, const Path& replacement);

// A regular file opened for reading at any offset: the size comes from the
// open file, so a picture's head costs one open, one status and one read.
class FileReader {
public:
    // Not open() when not a readable regular file; a pipe or a device is
    // not waited on.
    explicit FileReader(const Path& path);
    // A regular file of the size a listing gave (folderEntries): opened
    // without a status call, and not at all through a link.
    FileReader(const Path& path, std::uint64_t listedSize);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    bool open() const { return handle_ >= 0; }
    std::uint64_t size() const { return size_; }
    // Reads up to `count` bytes at `offset`; returns how many were read.
    std::size_t readAt(std::uint64_t offset, void* buffer, std::size_t count) const;

private:
    int handle_ = -1;
    std::uint64_t size_ = 0;
};

// Hands what the system holds of a file, or of a folder's list of names,
// to the disk; false when it could not.
bool syncToDisk(const Path& path);

// Moves (renames) a file within one file system unless `to` exists: true
// when moved. The test and the move are one step where the system offers
// it, so a file that appears meanwhile is not overwritten either.
bool moveWithoutReplacing(const Path& from, const Path& to);

// A file's identity: the same for every name and link that reaches it.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileId&) const = default;
};

// An entry of a folder. A link is marked as one; what it leads to gives
// the rest.
struct FolderEntry {
    Path name;
    bool link = false;
    bool folder = false;     // else a regular file
    std::uintmax_t size = 0; // of a file
    FileId id;
};

// The files and folders of a folder (and the links that lead to one), in
// the order the system lists them: one read of the folder, each entry's
// kind from that listing, and one status call an entry, relative to the
// open folder (a second only for a link on a file system whose listing
// does not tell links apart). Other entries and links that lead nowhere
// are left out; an unreadable folder gives none.
std::vector<FolderEntry> folderEntries(const Path& folder);

// The regular files of a folder (links followed) with their sizes, as
// folderEntries lists them.
struct SizedFile {
    Path path;
    std::uintmax_t size = 0;
};
std::vector<SizedFile> filesWithSizes(const Path& folder);

// What tells one version of a file from another without reading it: its
// size, its last change (nanoseconds since 1970, UTC) and which file of the
// disk it is (the inode; 0 where the system gives none), so that a file
// replaced by another of the same size and date is still told apart.
struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t changed = 0;
    std::uint64_t identity = 0;
    bool operator==(const FileStamp&) const = default;
};
// The stamp of a regular file (links followed); nothing for anything else.
std::optional<FileStamp> fileStamp(const Path& path);

// A folder held open, to stamp many of its files by name without walking
// the folder's own path each time.
class OpenFolder {
public:
    explicit OpenFolder(Path folder);
    ~OpenFolder();
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;

    const Path& path() const { return folder_; }
    // fileStamp(path() / name).
    std::optional<FileStamp> stamp(const Path& name) const;

private:
    Path folder_;
    int handle_ = -1;
};

// A whole file's bytes, mapped rather than copied where the system can: a
// file just written is in the system's cache, and reading it into fresh
// memory would cost more than the reading itself. Throws Error when the
// file cannot be read.
class FileBytes {
public:
    explicit FileBytes(const Path& path);
    ~FileBytes();
    FileBytes(const FileBytes&) = delete;
    FileBytes& operator=(const FileBytes&) = delete;

    std::string_view bytes() const { return bytes_; }

private:
    std::string_view bytes_;
    void* mapped_ = nullptr; // else the bytes are copy_'s
    std::string copy_;
};

// Keeps memory the program frees for its next use instead of handing it
// back to the system at once. Every picture shown allocates and frees
// buffers of a megabyte or more; handed back, each next picture would pay
// for fresh zeroed pages (a third of a step through the editor's games).
void reuseFreedMemory();

} // namespace gamarium::files
