#include "core/publish/sent_record.h"

#include "core/error.h"
#include "core/store/sqlite.h"

#include <sqlite3.h>
#include <xxhash.h>

#include <cstdio>
#include <set>
#include <system_error>

namespace gamarium::publish {
namespace fs = std::filesystem;
using store::sqlite::Statement;
using store::sqlite::Transaction;

namespace {

std::string folderKey(const files::Path& folder) {
    std::error_code ec;
    const fs::path canonical = fs::weakly_canonical(fs::absolute(folder), ec);
    return (ec ? fs::absolute(folder) : canonical).string();
}

void dropTemporaries(store::sqlite::Database& db, const std::vector<std::string>& temporaries) {
    Statement drop(db, "DELETE FROM pending WHERE path = ?");
    for (const std::string& name : temporaries) {
        drop.bindText(1, name);
        drop.run();
    }
}

} // namespace

std::string SentRecord::idFor(const files::Path& folder, const SiteAddress& address) {
    const std::string pair = folderKey(folder) + '\n' + address.shown;
    char id[17];
    std::snprintf(id, sizeof id, "%016llx", static_cast<unsigned long long>(XXH3_64bits(pair.data(), pair.size())));
    return id;
}

files::Path SentRecord::fileFor(const files::Path& home, const files::Path& folder, const SiteAddress& address) {
    return home / "publish" / (idFor(folder, address) + ".db");
}

SentRecord::SentRecord(const files::Path& home, const files::Path& folder, const SiteAddress& address) {
    const files::Path file = fileFor(home, folder, address);
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (ec) throw Error("Не удаётся создать папку «" + file.parent_path().string() + "» для записи отправленных файлов.");
    db_ = std::make_unique<store::sqlite::Database>(file, store::sqlite::OpenMode::Create,
                                                    "запись отправленных файлов " + file.filename().string());
    // Held by this run alone: a second run of the same pair stops at once.
    // A commit reaches the system at once, so a killed run keeps every
    // confirmed file; only a power cut may lose the last ones, which the
    // next run then sends again.
    const int rc = sqlite3_exec(db_->handle(),
                                "PRAGMA locking_mode=EXCLUSIVE; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
                                "BEGIN IMMEDIATE",
                                nullptr, nullptr, nullptr);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw Error("Эту папку по этому адресу уже публикует другая копия программы.");
    if (rc != SQLITE_OK) db_->fail(rc);
    db_->exec("CREATE TABLE IF NOT EXISTS target(folder TEXT NOT NULL, address TEXT NOT NULL);"
              "CREATE TABLE IF NOT EXISTS sent(path TEXT PRIMARY KEY, size INTEGER NOT NULL, hash TEXT NOT NULL) "
              "WITHOUT ROWID;"
              "CREATE TABLE IF NOT EXISTS pending(path TEXT PRIMARY KEY) WITHOUT ROWID;"
              "CREATE TABLE IF NOT EXISTS hashed(path TEXT PRIMARY KEY, size INTEGER NOT NULL, "
              "modified INTEGER NOT NULL, changed INTEGER NOT NULL, inode INTEGER NOT NULL, device INTEGER NOT NULL, "
              "hash TEXT NOT NULL) WITHOUT ROWID;");
    Statement count(*db_, "SELECT count(*) FROM target");
    if (count.step() && count.intAt(0) == 0) {
        Statement target(*db_, "INSERT INTO target(folder, address) VALUES(?, ?)");
        const std::string key = folderKey(folder);
        target.bindText(1, key);
        target.bindText(2, address.shown);
        target.run();
    }
    db_->exec("COMMIT");
}

SentRecord::~SentRecord() = default;

std::map<std::string, SentFile> SentRecord::files() {
    const std::lock_guard lock(mutex_);
    std::map<std::string, SentFile> listed;
    Statement rows(*db_, "SELECT path, size, hash FROM sent");
    while (rows.step())
        listed.emplace(rows.textAt(0), SentFile{static_cast<std::uint64_t>(rows.intAt(1)), rows.textAt(2)});
    return listed;
}

std::vector<std::string> SentRecord::temporaries() {
    const std::lock_guard lock(mutex_);
    std::vector<std::string> names;
    Statement rows(*db_, "SELECT path FROM pending ORDER BY path");
    while (rows.step()) names.push_back(rows.textAt(0));
    return names;
}

KnownHashes SentRecord::hashes() {
    const std::lock_guard lock(mutex_);
    KnownHashes known;
    Statement rows(*db_, "SELECT path, size, modified, changed, inode, device, hash FROM hashed");
    while (rows.step()) {
        const FileKey key{static_cast<std::uint64_t>(rows.intAt(1)), rows.intAt(2), rows.intAt(3),
                          static_cast<std::uint64_t>(rows.intAt(4)), static_cast<std::uint64_t>(rows.intAt(5))};
        known.emplace(rows.textAt(0), HashedFile{key, rows.textAt(6)});
    }
    return known;
}

void SentRecord::keepHashes(const std::vector<LocalFile>& local, const KnownHashes& known) {
    const std::lock_guard lock(mutex_);
    Transaction transaction(*db_);
    Statement keep(*db_, "INSERT OR REPLACE INTO hashed(path, size, modified, changed, inode, device, hash) "
                         "VALUES(?, ?, ?, ?, ?, ?, ?)");
    Statement drop(*db_, "DELETE FROM hashed WHERE path = ?");
    std::set<std::string_view> listed;
    for (const LocalFile& file : local) {
        listed.insert(file.path);
        const auto earlier = known.find(file.path);
        const bool wasKept = earlier != known.end();
        if (!file.trustedKey) {
            if (wasKept) {
                drop.bindText(1, file.path);
                drop.run();
            }
            continue;
        }
        if (wasKept && earlier->second.key == *file.trustedKey && earlier->second.hash == file.hash) continue;
        const FileKey& key = *file.trustedKey;
        keep.bindText(1, file.path);
        keep.bindInt(2, static_cast<std::int64_t>(key.size));
        keep.bindInt(3, key.modifiedNs);
        keep.bindInt(4, key.changedNs);
        keep.bindInt(5, static_cast<std::int64_t>(key.inode));
        keep.bindInt(6, static_cast<std::int64_t>(key.device));
        keep.bindText(7, file.hash);
        keep.run();
    }
    for (const auto& [path, hashed] : known) {
        if (listed.count(path)) continue;
        drop.bindText(1, path);
        drop.run();
    }
    transaction.commit();
}

void SentRecord::beginChange(const std::string& path, std::uint64_t size, const std::vector<std::string>& temporaries) {
    const std::lock_guard lock(mutex_);
    Transaction transaction(*db_);
    // Listed with no hash: what the server holds there is unknown until it
    // confirms the new file, but it stays the run's to replace or remove.
    Statement unknown(*db_, "INSERT OR REPLACE INTO sent(path, size, hash) VALUES(?, ?, '')");
    unknown.bindText(1, path);
    unknown.bindInt(2, static_cast<std::int64_t>(size));
    unknown.run();
    Statement note(*db_, "INSERT OR IGNORE INTO pending(path) VALUES(?)");
    for (const std::string& name : temporaries) {
        note.bindText(1, name);
        note.run();
    }
    transaction.commit();
}

void SentRecord::confirmSent(const std::string& path, const SentFile& sent,
                             const std::vector<std::string>& temporariesGone) {
    const std::lock_guard lock(mutex_);
    Transaction transaction(*db_);
    Statement list(*db_, "INSERT OR REPLACE INTO sent(path, size, hash) VALUES(?, ?, ?)");
    list.bindText(1, path);
    list.bindInt(2, static_cast<std::int64_t>(sent.size));
    list.bindText(3, sent.hash);
    list.run();
    dropTemporaries(*db_, temporariesGone);
    transaction.commit();
}

void SentRecord::forget(const std::string& path) {
    const std::lock_guard lock(mutex_);
    Statement forget(*db_, "DELETE FROM sent WHERE path = ?");
    forget.bindText(1, path);
    forget.run();
}

void SentRecord::forgetTemporaries(const std::vector<std::string>& temporaries) {
    const std::lock_guard lock(mutex_);
    Transaction transaction(*db_);
    dropTemporaries(*db_, temporaries);
    transaction.commit();
}

} // namespace gamarium::publish
