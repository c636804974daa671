#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace gamarium::store::sqlite {
class Database;
}

// A file in which the page generator keeps what it has worked out, to spare
// the work next time. Nothing in it is needed: deleting it is always safe,
// and a cache that cannot be read or written never stops a run.
namespace gamarium::pages {

struct CacheKind {
    std::uint32_t applicationId; // marks the SQLite file as this kind of cache
    int version;                 // of its tables; another version is made anew
    const char* tables;          // the SQL that makes them
};

class CacheFile {
public:
    // Opens the cache at `file` and hands it to `load`. A file that is not
    // a cache of this kind and version, or that fails to load (`load`
    // throws), is deleted and made anew, empty. Where the folder cannot be
    // written the cache is read as it is, or there is none.
    CacheFile(files::Path file, const CacheKind& kind,
              const std::function<void(store::sqlite::Database&)>& load);
    ~CacheFile();
    CacheFile(const CacheFile&) = delete;
    CacheFile& operator=(const CacheFile&) = delete;

    // Hands the open cache to `query`; a failure is passed over.
    void read(const std::function<void(store::sqlite::Database&)>& query);
    // Runs `change` as one transaction; a failure leaves the file as it
    // was and is passed over.
    void write(const std::function<void(store::sqlite::Database&)>& change);

    const files::Path& file() const { return file_; }

private:
    void open(const CacheKind& kind, const std::function<void(store::sqlite::Database&)>& load);
    void create(const CacheKind& kind);
    void remove();

    files::Path file_;
    std::unique_ptr<store::sqlite::Database> db_;
};

// The folder of the program's caches: cache/ of the program folder.
files::Path cacheFolder(const files::Path& home);
// A cache of the base `base` in that folder: its name in small letters,
// then `ending` (".sizes").
files::Path baseCacheFile(const files::Path& home, std::string_view base, std::string_view ending);

} // namespace gamarium::pages
