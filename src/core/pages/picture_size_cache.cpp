#include "core/pages/picture_size_cache.h"

#include "core/store/sqlite.h"

#include <climits>
#include <stdexcept>

namespace gamarium::pages {
namespace {

namespace sqlite = store::sqlite;

const CacheKind kSizes{
    .applicationId = 0x47535A31, // "GSZ1"
    .version = 1,
    .tables = "CREATE TABLE sizes(path BLOB PRIMARY KEY, size INTEGER NOT NULL, changed INTEGER NOT NULL,"
              " identity INTEGER NOT NULL, width INTEGER NOT NULL, height INTEGER NOT NULL) WITHOUT ROWID",
};

int side(const sqlite::Statement& row, int column) {
    const std::int64_t value = row.intAt(column);
    if (value < 0 || value > INT_MAX)
        throw std::runtime_error("not a picture size");
    return static_cast<int>(value);
}

// The stamp and size of a row that begins with them at `first`.
template <typename Entry>
Entry entryAt(const sqlite::Statement& row, int first) {
    return {.stamp = {.size = static_cast<std::uint64_t>(row.intAt(first)),
                      .changed = row.intAt(first + 1),
                      .identity = static_cast<std::uint64_t>(row.intAt(first + 2))},
            .size = {side(row, first + 3), side(row, first + 4)}};
}

} // namespace

files::Path pictureSizeCacheFile(const files::Path& home, std::string_view base) {
    return baseCacheFile(home, base, ".sizes");
}

PictureSizeCache::PictureSizeCache(const files::Path& home, std::string_view base, Reading reading)
    : reading_(reading), file_(pictureSizeCacheFile(home, base), kSizes, [this](sqlite::Database& db) {
          if (reading_ == Reading::AsAsked)
              return;
          // Taken only when all of it reads well.
          Entries loaded;
          sqlite::Statement count(db, "SELECT count(*) FROM sizes");
          if (count.step())
              loaded.reserve(static_cast<std::size_t>(count.intAt(0)));
          sqlite::Statement rows(db, "SELECT path, size, changed, identity, width, height FROM sizes");
          while (rows.step())
              loaded.try_emplace(std::string(rows.textViewAt(0)), entryAt<Entry>(rows, 1));
          entries_ = std::move(loaded);
      }) {}

PictureSizeCache::Entries::iterator PictureSizeCache::readEntry(const std::string& key) {
    std::optional<Entry> kept;
    file_.read([&](sqlite::Database& db) {
        sqlite::Statement row(db, "SELECT size, changed, identity, width, height FROM sizes WHERE path = ?");
        row.bindTextInPlace(1, key);
        if (row.step())
            kept = entryAt<Entry>(row, 0);
    });
    return kept ? entries_.emplace(key, *kept).first : entries_.end();
}

std::optional<pictures::PictureSize> PictureSizeCache::find(const std::string& key, const files::FileStamp& stamp) {
    auto found = entries_.find(key);
    if (found == entries_.end() && reading_ == Reading::AsAsked)
        found = readEntry(key);
    if (found == entries_.end() || found->second.stamp != stamp)
        return std::nullopt;
    found->second.asked = true;
    return found->second.size;
}

void PictureSizeCache::keep(const std::string& key, const files::FileStamp& stamp, pictures::PictureSize size) {
    entries_[key] = {.stamp = stamp, .size = size, .asked = true, .learnt = true};
}

void PictureSizeCache::save(bool forgetOthers) {
    bool changed = false;
    for (const auto& [path, entry] : entries_)
        changed = changed || entry.learnt || (forgetOthers && !entry.asked);
    if (!changed)
        return;
    file_.write([&](sqlite::Database& db) {
        sqlite::Statement put(db, "INSERT OR REPLACE INTO sizes VALUES(?, ?, ?, ?, ?, ?)");
        sqlite::Statement drop(db, "DELETE FROM sizes WHERE path = ?");
        for (const auto& [path, entry] : entries_) {
            if (entry.learnt) {
                put.bindTextInPlace(1, path);
                put.bindInt(2, static_cast<std::int64_t>(entry.stamp.size));
                put.bindInt(3, entry.stamp.changed);
                put.bindInt(4, static_cast<std::int64_t>(entry.stamp.identity));
                put.bindInt(5, entry.size.width);
                put.bindInt(6, entry.size.height);
                put.run();
            } else if (forgetOthers && !entry.asked) {
                drop.bindTextInPlace(1, path);
                drop.run();
            }
        }
    });
    for (auto& [path, entry] : entries_)
        entry.learnt = false;
}

} // namespace gamarium::pages
