#include "core/pages/page_record.h"

#include "core/store/sqlite.h"

#include <xxhash.h>

#include <cstring>
#include <stdexcept>
#include <system_error>

namespace gamarium::pages {
namespace {

namespace sqlite = store::sqlite;

const CacheKind kRecord{
    .applicationId = 0x47504731, // "GPG1"
    .version = 2,
    .tables = "CREATE TABLE folder(path BLOB NOT NULL);"
              "CREATE TABLE pages(name BLOB PRIMARY KEY, records BLOB NOT NULL, inputs BLOB NOT NULL,"
              " size INTEGER NOT NULL,"
              " changed INTEGER NOT NULL, identity INTEGER NOT NULL) WITHOUT ROWID",
};

// The folder's full path with links resolved, so that two spellings of one
// folder share a record.
std::string fullPath(const files::Path& folder) {
    std::error_code error;
    files::Path full = std::filesystem::weakly_canonical(std::filesystem::absolute(folder, error), error);
    if (error)
        full = std::filesystem::absolute(folder, error).lexically_normal();
    const auto bytes = full.u8string();
    return std::string(bytes.begin(), bytes.end());
}

void readDigest(std::string_view stored, InputHash::Digest& digest) {
    if (stored.size() != digest.size())
        throw std::runtime_error("not a digest");
    std::memcpy(digest.data(), stored.data(), stored.size());
}

std::string_view bytes(const InputHash::Digest& digest) {
    return {reinterpret_cast<const char*>(digest.data()), digest.size()};
}

std::string hex(std::uint64_t value) {
    static const char kDigits[] = "0123456789abcdef";
    std::string text(16, '0');
    for (int i = 15; i >= 0; --i, value >>= 4)
        text[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return text;
}

} // namespace

files::Path pageRecordFile(const files::Path& home, const files::Path& outputFolder) {
    const std::string path = fullPath(outputFolder);
    return cacheFolder(home) / ("pages-" + hex(XXH3_64bits(path.data(), path.size())) + ".record");
}

PageRecord::PageRecord(const files::Path& home, const files::Path& outputFolder)
    : folder_(fullPath(outputFolder)),
      file_(pageRecordFile(home, outputFolder), kRecord, [this](sqlite::Database& db) {
          sqlite::Statement folder(db, "SELECT path FROM folder");
          if (!folder.step() || folder.textAt(0) != folder_)
              throw std::runtime_error("the record of another folder");
          std::unordered_map<std::string, Page> loaded;
          sqlite::Statement rows(db, "SELECT name, records, inputs, size, changed, identity FROM pages");
          while (rows.step()) {
              Page& page = loaded[rows.textAt(0)];
              readDigest(rows.textViewAt(1), page.records);
              readDigest(rows.textViewAt(2), page.inputs);
              page.file = {.size = static_cast<std::uint64_t>(rows.intAt(3)),
                           .changed = rows.intAt(4),
                           .identity = static_cast<std::uint64_t>(rows.intAt(5))};
          }
          pages_ = std::move(loaded);
      }) {}

bool PageRecord::sameRecords(std::string_view name, const InputHash::Digest& records) const {
    const auto found = pages_.find(std::string(name));
    return found != pages_.end() && found->second.records == records;
}

bool PageRecord::unchanged(std::string_view name, const InputHash::Digest& inputs,
                           const std::optional<files::FileStamp>& file) const {
    const auto found = pages_.find(std::string(name));
    return file && found != pages_.end() && found->second.inputs == inputs && found->second.file == *file;
}

void PageRecord::note(std::string_view name, const InputHash::Digest& records, const InputHash::Digest& inputs,
                      const files::FileStamp& file) {
    const auto [found, added] = pages_.try_emplace(std::string(name));
    Page& page = found->second;
    page.changed = added || page.changed || page.records != records || page.inputs != inputs || page.file != file;
    page.records = records;
    page.inputs = inputs;
    page.file = file;
    page.noted = true;
}

std::vector<std::pair<std::string, files::FileStamp>> PageRecord::notNoted() const {
    std::vector<std::pair<std::string, files::FileStamp>> left;
    for (const auto& [name, page] : pages_)
        if (!page.noted) left.emplace_back(name, page.file);
    return left;
}

void PageRecord::save() {
    bool changed = false;
    for (const auto& [name, page] : pages_)
        changed = changed || page.changed || !page.noted;
    if (!changed)
        return;
    file_.write([&](sqlite::Database& db) {
        db.exec("DELETE FROM folder");
        sqlite::Statement folder(db, "INSERT INTO folder VALUES(?)");
        folder.bindTextInPlace(1, folder_);
        folder.run();
        sqlite::Statement put(db, "INSERT OR REPLACE INTO pages VALUES(?, ?, ?, ?, ?, ?)");
        sqlite::Statement drop(db, "DELETE FROM pages WHERE name = ?");
        for (const auto& [name, page] : pages_) {
            if (!page.noted) {
                drop.bindTextInPlace(1, name);
                drop.run();
            } else if (page.changed) {
                put.bindTextInPlace(1, name);
                put.bindTextInPlace(2, bytes(page.records));
                put.bindTextInPlace(3, bytes(page.inputs));
                put.bindInt(4, static_cast<std::int64_t>(page.file.size));
                put.bindInt(5, page.file.changed);
                put.bindInt(6, static_cast<std::int64_t>(page.file.identity));
                put.run();
            }
        }
    });
}

} // namespace gamarium::pages
