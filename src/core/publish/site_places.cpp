#include "core/publish/site_places.h"

#include "core/store/sqlite.h"

#include <system_error>

namespace gamarium::publish {
namespace {

using store::sqlite::Database;
using store::sqlite::Statement;

files::Path placesFile(const files::Path& home) {
    return home / "publish" / "places.db";
}

void makeTable(Database& db) {
    db.setBusyTimeout(2000);
    db.exec("CREATE TABLE IF NOT EXISTS place(base TEXT NOT NULL, folder TEXT NOT NULL, address TEXT NOT NULL, "
            "PRIMARY KEY(base, folder))");
}

} // namespace

std::string rememberedAddress(const files::Path& home, const std::string& base, const files::Path& folder) {
    if (!files::fileExists(placesFile(home))) return {};
    Database db(placesFile(home), store::sqlite::OpenMode::Existing, "publish/places.db");
    makeTable(db);
    Statement find(db, "SELECT address FROM place WHERE base = ? AND folder = ?");
    find.bindText(1, base);
    const std::string key = folder.generic_string();
    find.bindText(2, key);
    return find.step() ? find.textAt(0) : std::string();
}

void rememberAddress(const files::Path& home, const std::string& base, const files::Path& folder,
                     const std::string& url) {
    std::error_code ec;
    std::filesystem::create_directories(placesFile(home).parent_path(), ec);
    Database db(placesFile(home), store::sqlite::OpenMode::Create, "publish/places.db");
    makeTable(db);
    Statement keep(db, "INSERT OR REPLACE INTO place(base, folder, address) VALUES(?, ?, ?)");
    keep.bindText(1, base);
    const std::string key = folder.generic_string();
    keep.bindText(2, key);
    keep.bindText(3, url);
    keep.run();
}

} // namespace gamarium::publish
