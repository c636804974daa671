#include "store/table_file.h"

#include "error.h"
#include "store/sqlite.h"
#include "text/cp1251.h"

#include <array>
#include <fstream>
#include <system_error>

namespace gamarium::store {
namespace fs = std::filesystem;

namespace {

// SQLite's application id of the program's table files ("GAMR").
constexpr std::uint32_t kApplicationId = 0x47414D52;
constexpr int kFormatVersion = 1;

std::string shownName(const files::Path& file) {
    const auto u8 = file.filename().u8string();
    return "«" + std::string(u8.begin(), u8.end()) + "»";
}

std::uint32_t bigEndian32(const unsigned char* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Reads the database header by hand, so that nothing but a table of the
// program is ever handed to SQLite (which would turn an empty file into a
// database, or write its journal settings into another program's file).
void checkHeader(const files::Path& file) {
    std::error_code ec;
    if (!fs::is_regular_file(file, ec))
        throw Error("Таблица " + shownName(file) + " не найдена.");
    const auto fileSize = fs::file_size(file, ec);
    std::array<unsigned char, 100> header{};
    std::ifstream in(file, std::ios::binary);
    if (!in) throw Error("Не удаётся открыть таблицу " + shownName(file) + ".");
    in.read(reinterpret_cast<char*>(header.data()), header.size());
    static const char kMagic[] = "SQLite format 3";
    const bool sqliteFile = !ec && in.gcount() == 100 && std::equal(kMagic, kMagic + 16, header.begin());
    if (!sqliteFile || bigEndian32(&header[68]) != kApplicationId)
        throw Error("Файл " + shownName(file) + " не является таблицей Gamarium.");
    std::uint64_t pageSize = (std::uint64_t{header[16]} << 8) | header[17];
    if (pageSize == 1) pageSize = 65536;
    const std::uint32_t pageCount = bigEndian32(&header[28]);
    const bool pageCountValid = bigEndian32(&header[24]) == bigEndian32(&header[92]);
    if (pageSize < 512 || fileSize % pageSize != 0 || (pageCountValid && fileSize < pageSize * pageCount))
        throw Error("Файл таблицы " + shownName(file) + " повреждён (файл обрезан).");
}

void configure(sqlite::Database& db) {
    // One process holds the table; every post is a committed WAL transaction
    // (safe against a crash of the program).
    db.exec("PRAGMA locking_mode=EXCLUSIVE");
    db.exec("PRAGMA journal_mode=WAL");
    db.exec("PRAGMA synchronous=NORMAL");
    // Take the lock now rather than at the first post.
    db.exec("BEGIN EXCLUSIVE; COMMIT");
}

FieldType fieldTypeFromName(const std::string& name) {
    for (auto type : {FieldType::SmallInt, FieldType::Integer, FieldType::Text, FieldType::Memo})
        if (name == fieldTypeName(type)) return type;
    throw Error("unknown field type");
}

} // namespace

std::unique_ptr<sqlite::Database> openTableFile(const files::Path& file) {
    checkHeader(file);
    auto db = std::make_unique<sqlite::Database>(file, false);
    configure(*db);
    sqlite::Statement version(*db, "SELECT value FROM gamarium_table WHERE key='version'");
    if (!version.step() || version.intAt(0) != kFormatVersion)
        throw Error("Таблица " + shownName(file) + " записана другой версией программы.");
    return db;
}

TableSchema readSchema(sqlite::Database& db) {
    TableSchema schema;
    sqlite::Statement fields(db, "SELECT name, type, size, required FROM gamarium_fields ORDER BY position");
    while (fields.step()) {
        try {
            schema.fields.push_back({text::fromUtf8(fields.textAt(0)), fieldTypeFromName(fields.textAt(1)),
                                     static_cast<int>(fields.intAt(2)), fields.intAt(3) != 0});
        } catch (const Error&) {
            throw Error("Файл таблицы " + shownName(db.file()) + " повреждён.");
        }
    }
    sqlite::Statement indexes(db, "SELECT field, is_primary, is_unique FROM gamarium_indexes ORDER BY position");
    while (indexes.step())
        schema.indexes.push_back({text::fromUtf8(indexes.textAt(0)), indexes.intAt(1) != 0, indexes.intAt(2) != 0});
    return schema;
}

void createTableFile(const files::Path& file, const TableSchema& schema) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(file, ec))) {
        // Refuses foreign files and tables in use, and folds a leftover
        // journal into the old table before it goes.
        openTableFile(file).reset();
    }
    files::Path building = file;
    building += ".new";
    for (const char* ending : {"", "-wal", "-shm", "-journal"}) files::removeFile(building.string() + ending);
    {
        sqlite::Database db(building, true);
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
            field.bindText(2, text::toUtf8(def.name));
            field.bindText(3, fieldTypeName(def.type));
            field.bindInt(4, def.size);
            field.bindInt(5, def.required ? 1 : 0);
            field.run();
            const bool integer = def.type == FieldType::SmallInt || def.type == FieldType::Integer;
            columns += ", " + sqlite::quoteIdentifier(text::toUtf8(def.name)) + (integer ? " INTEGER" : " TEXT");
        }
        sqlite::Statement index(db, "INSERT INTO gamarium_indexes VALUES(?, ?, ?, ?)");
        for (std::size_t i = 0; i < schema.indexes.size(); ++i) {
            index.bindInt(1, static_cast<std::int64_t>(i));
            index.bindText(2, text::toUtf8(schema.indexes[i].field));
            index.bindInt(3, schema.indexes[i].primary ? 1 : 0);
            index.bindInt(4, schema.indexes[i].unique ? 1 : 0);
            index.run();
        }
        db.exec(("CREATE TABLE records(" + columns + ")").c_str());
        db.exec("CREATE INDEX records_order ON records(_order)");
        transaction.commit();
        db.exec("PRAGMA journal_mode=WAL");
    }
    for (const char* ending : {"-wal", "-shm"}) files::removeFile(file.string() + ending);
    fs::rename(building, file, ec);
    if (ec) {
        files::removeFile(building);
        throw Error("Не удаётся создать таблицу " + shownName(file) + ": " + ec.message() + ".");
    }
}

} // namespace gamarium::store
