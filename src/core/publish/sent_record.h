#pragma once

#include "core/files/files.h"
#include "core/publish/local_files.h"
#include "core/publish/site_address.h"

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace gamarium::store::sqlite {
class Database;
}

namespace gamarium::publish {

struct SentFile {
    std::uint64_t size = 0;
    std::string hash;
};

// What the program has sent from one folder to one remote folder: an
// SQLite file `publish/<16 hex digits>.db` in the program folder, named by
// the pair. A file it lists with a hash is on the server whole, with that
// content: before its remote file is touched the entry loses its hash, and
// gets the new one only after the server confirmed the new file, each
// change one committed transaction. A file listed without a hash may be on
// the server with either content, or not at all (a run ended in between):
// the next run sends it again, or removes it with --delete. It also lists the remote temporary names a run may leave,
// so that the next run knows which remote folders to look into, and the
// content hashes of the folder's files with the keys they were taken
// under. Held by one run at a time; its methods may be called from
// several threads.
class SentRecord {
public:
    SentRecord(const files::Path& home, const files::Path& folder, const SiteAddress& address);
    ~SentRecord();
    SentRecord(const SentRecord&) = delete;
    SentRecord& operator=(const SentRecord&) = delete;

    // The file that keeps the record of this pair.
    static files::Path fileFor(const files::Path& home, const files::Path& folder, const SiteAddress& address);
    // The pair's 16 hexadecimal digits, which name that file and this
    // record's remote temporaries.
    static std::string idFor(const files::Path& folder, const SiteAddress& address);

    std::map<std::string, SentFile> files();
    std::vector<std::string> temporaries();
    KnownHashes hashes();

    // Keeps the hashes of `local` whose keys can be trusted, in place of
    // `known` (what hashes() gave): only the differences are written.
    void keepHashes(const std::vector<LocalFile>& local, const KnownHashes& known);

    // Before the remote file of `size` bytes is sent or removed: it is
    // listed with no hash, and the temporaries its sending may leave are
    // noted.
    void beginChange(const std::string& path, std::uint64_t size, const std::vector<std::string>& temporaries);
    // After the server confirmed it: listed with what was sent.
    void confirmSent(const std::string& path, const SentFile& sent, const std::vector<std::string>& temporariesGone);
    // A file no longer on the server (removed, or found missing).
    void forget(const std::string& path);
    void forgetTemporaries(const std::vector<std::string>& temporaries);

private:
    std::mutex mutex_;
    std::unique_ptr<store::sqlite::Database> db_;
};

} // namespace gamarium::publish
