#include "core/store/table_file.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/store/sqlite.h"
#include "core/text/cp1251.h"

#include <array>
#include <fstream>
#include <system_error>

namespace gamarium::store {
namespace fs = std::filesystem;

namespace {

// SQLite's application id of the program's table files ("GAMR").
constexpr std::uint32_t kApplicationId = 0x47414D52;
constexpr int kFormatVersion = 1;

std::string quoted(const files::Path& file) {
    return "«" + shownFileName(file) + "»";
}

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

files::Path besideFile(const files::Path& file, const char* ending) {
    files::Path side = file;
    side += ending;
    return side;
}

std::uintmax_t sizeOrZero(const files::Path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

// Reads the first bytes of the file by hand, so that nothing but an SQLite
// file marked as the program's ever reaches SQLite (which would turn an
// empty file into a database). Whether the file is whole is asked of SQLite
// later, once it has brought back what a killed program left in the journal.
void checkMark(const files::Path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec)) throw Error("Таблица " + quoted(file) + " не найдена.");
    std::array<unsigned char, 100> header{};
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Error("Не удаётся открыть таблицу " + quoted(file) + ".");
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    static const char kMagic[] = "SQLite format 3";
    const bool sqliteFile = in.gcount() == 100 && std::equal(kMagic, kMagic + 16, header.begin());
    if (!sqliteFile || bigEndian32(&header[68]) != kApplicationId)
        throw Error("Файл " + quoted(file) + " не является таблицей Gamarium.");
}

// The tables every file of ours holds, and the format version it was
// written in; read before anything is written.
void checkContents(sqlite::Database& db) {
    sqlite::Statement tables(db, "SELECT count(*) FROM sqlite_master WHERE type = 'table'"
                                 " AND name IN ('gamarium_table', 'gamarium_fields', 'gamarium_indexes', 'records')");
    if (!tables.step() || tables.intAt(0) != 4)
        throw Error("Файл " + quoted(db.file()) + " не является таблицей Gamarium.");
    sqlite::Statement version(db, "SELECT value FROM gamarium_table WHERE key = 'version'");
    if (!version.step() || version.intAt(0) != kFormatVersion)
        throw Error("Таблица " + quoted(db.file()) + " записана другой версией программы.");
}

// The file must hold every page SQLite counts for it.
void checkWhole(sqlite::Database& db) {
    const auto pageSize = static_cast<std::uintmax_t>(db.pragmaValue("page_size"));
    const auto pageCount = static_cast<std::uintmax_t>(db.pragmaValue("page_count"));
    const std::uintmax_t fileSize = sizeOrZero(db.file());
    if (pageSize == 0 || fileSize % pageSize != 0 || fileSize < pageSize * pageCount)
        throw Error("Файл таблицы " + quoted(db.file()) + " повреждён (файл обрезан).");
}

std::unique_ptr<sqlite::Database> openForReading(const files::Path& file) {
    if (sizeOrZero(besideFile(file, "-wal")) > 0)
        throw Error("Таблица " + quoted(file) +
                    " не была закрыта как следует, а её папка доступна только для чтения: откройте её там, где "
                    "её можно записать.");
    auto db = std::make_unique<sqlite::Database>(file, sqlite::OpenMode::Snapshot, shownFileName(file));
    checkContents(*db);
    checkWhole(*db);
    return db;
}

std::unique_ptr<sqlite::Database> openForWriting(const files::Path& file) {
    const files::Path journal = besideFile(file, "-wal");
    const bool journalWasThere = fs::exists(journal);
    auto db = std::make_unique<sqlite::Database>(file, sqlite::OpenMode::Existing, shownFileName(file));
    // Until the file is known to be ours, closing it must not write to it.
    db->setCheckpointOnClose(false);
    try {
        // Held by this process from the first read on. In this mode the
        // journal's index lives in memory: no -shm file beside the table.
        db->exec("PRAGMA locking_mode=EXCLUSIVE");
        checkContents(*db);
        db->exec("PRAGMA journal_mode=WAL");
        db->exec("PRAGMA synchronous=NORMAL");
        // Take the lock now rather than at the first post.
        db->exec("BEGIN EXCLUSIVE; COMMIT");
        // Fold what a killed program left in the journal into the file, then
        // see that the file is whole.
        db->exec("PRAGMA wal_checkpoint(TRUNCATE)");
        checkWhole(*db);
    } catch (...) {
        db.reset();
        if (!journalWasThere && sizeOrZero(journal) == 0) files::removeFile(journal);
        throw;
    }
    db->setCheckpointOnClose(true);
    return db;
}

void buildTableFile(const files::Path& building, const std::string& shownName, const TableSchema& schema) {
    sqlite::Database db(building, sqlite::OpenMode::Create, shownName);
    db.exec("PRAGMA journal_mode=DELETE");
    db.exec(("PRAGMA application_id=" + std::to_string(kApplicationId)).c_str());
    sqlite::Transaction transaction(db);
    db.exec("CREATE TABLE gamarium_table(key TEXT PRIMARY KEY, value) WITHOUT ROWID;"
            "CREATE TABLE gamarium_fields(position INTEGER PRIMARY KEY, name TEXT NOT NULL,"
            " type TEXT NOT NULL, size INTEGER NOT NULL, required INTEGER NOT NULL);"
            "CREATE TABLE gamarium_indexes(position INTEGER PRIMARY KEY, field TEXT NOT NULL,"
            " is_primary INTEGER NOT NULL, is_unique INTEGER NOT NULL)");
    sqlite::Statement meta(db, "INSERT INTO gamarium_table VALUES('version', ?)");
    meta.bindInt(1, kFormatVersion);
    meta.run();
    std::string columns = "_id INTEGER PRIMARY KEY, _order INTEGER NOT NULL";
    sqlite::Statement field(db, "INSERT INTO gamarium_fields VALUES(?, ?, ?, ?, ?)");
    for (std::size_t i = 0; i < schema.fields.size(); ++i) {
        const FieldDef& def = schema.fields[i];
        field.bindInt(1, static_cast<std::int64_t>(i));
        field.bindText(2, text::toUtf8(text::StoredText::fromCp1251(def.name)));
        field.bindText(3, fieldTypeName(def.type));
        field.bindInt(4, def.size);
        field.bindInt(5, def.required ? 1 : 0);
        field.run();
        const bool integer = def.type == FieldType::SmallInt || def.type == FieldType::Integer;
        columns += ", " + sqlite::quoteIdentifier(text::toUtf8(text::StoredText::fromCp1251(def.name))) + (integer ? " INTEGER" : " TEXT");
    }
    sqlite::Statement index(db, "INSERT INTO gamarium_indexes VALUES(?, ?, ?, ?)");
    for (std::size_t i = 0; i < schema.indexes.size(); ++i) {
        index.bindInt(1, static_cast<std::int64_t>(i));
        index.bindText(2, text::toUtf8(text::StoredText::fromCp1251(schema.indexes[i].field)));
        index.bindInt(3, schema.indexes[i].primary ? 1 : 0);
        index.bindInt(4, schema.indexes[i].unique ? 1 : 0);
        index.run();
    }
    db.exec(("CREATE TABLE records(" + columns + ")").c_str());
    db.exec("CREATE INDEX records_order ON records(_order)");
    transaction.commit();
    db.exec("PRAGMA journal_mode=WAL");
}

void removeWithJournals(const files::Path& file) {
    for (const char* ending : {"", "-wal", "-shm", "-journal"}) files::removeFile(besideFile(file, ending));
}

FieldType fieldTypeFromName(const std::string& name) {
    for (auto type : {FieldType::SmallInt, FieldType::Integer, FieldType::Text, FieldType::Memo})
        if (name == fieldTypeName(type)) return type;
    throw Error("unknown field type");
}

} // namespace

std::string shownFileName(const files::Path& file) {
    const auto u8 = file.filename().u8string();
    return std::string(u8.begin(), u8.end());
}

std::unique_ptr<sqlite::Database> openTableFile(const files::Path& file) {
    checkMark(file);
    const bool writable = files::isWritable(file) && files::isWritable(file.parent_path());
    return writable ? openForWriting(file) : openForReading(file);
}

bool isProgramTableFile(const files::Path& file) {
    try {
        checkMark(file);
        return true;
    } catch (const Error&) {
        return false;
    }
}

std::unique_ptr<sqlite::Database> openCopy(const files::Path& file) {
    checkMark(file);
    return openForReading(file);
}

std::unique_ptr<sqlite::Database> openCheckedCopy(const files::Path& file) {
    auto db = openCopy(file);
    if (!db->passesQuickCheck()) throw Error("Файл таблицы " + quoted(file) + " повреждён.");
    return db;
}

bool isHeldElsewhere(const files::Path& file) {
    if (!isProgramTableFile(file)) return false;
    try {
        sqlite::Database db(file, sqlite::OpenMode::Existing, shownFileName(file));
        // Asks, and writes nothing to a file that may be damaged.
        db.setCheckpointOnClose(false);
        return !db.tryLock();
    } catch (const Error&) {
        return false;
    }
}

void removeAllRecords(sqlite::Database& db) {
    sqlite::Transaction transaction(db);
    db.exec("DELETE FROM records");
    transaction.commit();
}

TableSchema readSchema(sqlite::Database& db) {
    TableSchema schema;
    sqlite::Statement fields(db, "SELECT name, type, size, required FROM gamarium_fields ORDER BY position");
    while (fields.step()) {
        try {
            schema.fields.push_back({text::fromUtf8(fields.textAt(0)).bytes(), fieldTypeFromName(fields.textAt(1)),
                                     static_cast<int>(fields.intAt(2)), fields.intAt(3) != 0});
        } catch (const Error&) {
            throw Error("Файл таблицы " + quoted(db.file()) + " повреждён.");
        }
    }
    sqlite::Statement indexes(db, "SELECT field, is_primary, is_unique FROM gamarium_indexes ORDER BY position");
    while (indexes.step())
        schema.indexes.push_back({text::fromUtf8(indexes.textAt(0)).bytes(), indexes.intAt(1) != 0, indexes.intAt(2) != 0});
    return schema;
}

NewTableFile::NewTableFile(files::Path target, const TableSchema& schema)
    : target_(std::move(target)), building_(files::temporaryFor(target_)) {
    if (!files::isWritable(target_.parent_path()))
        throw Error("Папка «" + shownFileName(target_.parent_path()) + "» доступна только для чтения.");
    // What a killed build of this table left beside it.
    for (const files::Path& leftover : files::leftoverTemporaries(target_.parent_path(), files::nameText(target_).bytes()))
        removeWithJournals(leftover);
    try {
        buildTableFile(building_, shownFileName(target_), schema);
    } catch (...) {
        removeWithJournals(building_);
        throw;
    }
}

NewTableFile::~NewTableFile() {
    if (!placed_) removeWithJournals(building_);
}

void NewTableFile::putInPlace() {
    for (const char* ending : {"-wal", "-shm"}) files::removeFile(besideFile(target_, ending));
    std::error_code ec;
    fs::rename(building_, target_, ec);
    if (ec) throw Error("Не удаётся записать таблицу " + quoted(target_) + ".");
    placed_ = true;
}

void createTableFile(const files::Path& file, const TableSchema& schema) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(file, ec))) {
        // Refuses foreign files and tables in use, and folds a leftover
        // journal into the old table before it goes.
        openTableFile(file).reset();
    }
    NewTableFile table(file, schema);
    table.putInPlace();
}

} // namespace gamarium::store
