#include "core/pages/cache_file.h"

#include "core/store/sqlite.h"
#include "core/store/table_file.h"
#include "core/text/cp1251.h"

#include <stdexcept>
#include <string>

namespace gamarium::pages {
namespace {

namespace sqlite = store::sqlite;

files::Path beside(const files::Path& file, const char* ending) {
    files::Path name = file;
    name += ending;
    return name;
}

} // namespace

CacheFile::CacheFile(files::Path file, const CacheKind& kind, const std::function<void(sqlite::Database&)>& load)
    : file_(std::move(file)) {
    try {
        open(kind, load);
        return;
    } catch (...) {
        db_.reset();
    }
    // Not ours, of another version, or damaged: it is only a cache.
    remove();
    try {
        create(kind);
    } catch (...) {
        db_.reset();
        remove();
    }
}

CacheFile::~CacheFile() = default;

void CacheFile::open(const CacheKind& kind, const std::function<void(sqlite::Database&)>& load) {
    db_ = std::make_unique<sqlite::Database>(file_, sqlite::OpenMode::Existing, store::shownFileName(file_));
    db_->setBusyTimeout(2000);
    if (db_->pragmaValue("application_id") != static_cast<std::int64_t>(kind.applicationId) || db_->pragmaValue("user_version") != kind.version)
        throw std::runtime_error("not this cache");
    load(*db_);
}

void CacheFile::create(const CacheKind& kind) {
    files::makeFolder(file_.parent_path());
    db_ = std::make_unique<sqlite::Database>(file_, sqlite::OpenMode::Create, store::shownFileName(file_));
    db_->setBusyTimeout(2000);
    sqlite::Transaction transaction(*db_);
    db_->exec(kind.tables);
    db_->exec(("PRAGMA application_id=" + std::to_string(kind.applicationId)).c_str());
    db_->exec(("PRAGMA user_version=" + std::to_string(kind.version)).c_str());
    transaction.commit();
}

void CacheFile::remove() {
    for (const char* ending : {"", "-journal", "-wal", "-shm"})
        files::removeFile(beside(file_, ending));
}

void CacheFile::read(const std::function<void(sqlite::Database&)>& query) {
    if (!db_)
        return;
    try {
        query(*db_);
    } catch (...) {
        // What cannot be read is worked out again.
    }
}

void CacheFile::write(const std::function<void(sqlite::Database&)>& change) {
    if (!db_)
        return;
    try {
        sqlite::Transaction transaction(*db_);
        change(*db_);
        transaction.commit();
    } catch (...) {
        // A cache that cannot be written is only slower next time.
    }
}

files::Path cacheFolder(const files::Path& home) {
    return home / "cache";
}

files::Path baseCacheFile(const files::Path& home, std::string_view base, std::string_view ending) {
    return cacheFolder(home) / files::toPath(text::StoredText::fromCp1251(text::lower(base) + std::string(ending)));
}

} // namespace gamarium::pages
