#include "core/store/sqlite.h"

#include "core/error.h"

#include <sqlite3.h>

#include <cctype>

namespace gamarium::store::sqlite {
namespace {

std::string utf8Of(const std::filesystem::path& file) {
    const auto u8 = file.u8string();
    return std::string(u8.begin(), u8.end());
}

// A file URI that SQLite reads back as the same path whatever it holds.
std::string fileUri(const std::filesystem::path& file) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : utf8Of(std::filesystem::absolute(file))) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || std::string_view("/-._~").find(c) != std::string_view::npos) {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

} // namespace

Database::Database(const std::filesystem::path& file, OpenMode mode, std::string shownName)
    : file_(file), shownName_(std::move(shownName)) {
    int flags = SQLITE_OPEN_NOMUTEX;
    std::string name = utf8Of(file);
    if (mode == OpenMode::Snapshot) {
        // Immutable: SQLite takes no lock and makes no journal beside the
        // file, so a table on a read-only medium can still be read.
        flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
        name = fileUri(file) + "?immutable=1";
    } else {
        flags |= SQLITE_OPEN_READWRITE | (mode == OpenMode::Create ? SQLITE_OPEN_CREATE : 0);
    }
    const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db_);
        db_ = nullptr;
        if (rc == SQLITE_CANTOPEN) throw Error("Не удаётся открыть таблицу «" + shownName_ + "».");
        throw Error("Ошибка таблицы «" + shownName_ + "»: " + sqlite3_errstr(rc) + ".");
    }
    sqlite3_extended_result_codes(db_, 0);
}

Database::~Database() {
    sqlite3_close(db_);
}

void Database::exec(const char* sql) {
    const int rc = sqlite3_exec(db_, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) fail(rc);
}

std::int64_t Database::lastInsertId() const {
    return sqlite3_last_insert_rowid(db_);
}

bool Database::readOnly() const {
    return sqlite3_db_readonly(db_, "main") == 1;
}

void Database::setCheckpointOnClose(bool on) {
    sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, on ? 0 : 1, nullptr);
}

void Database::setBusyTimeout(int milliseconds) {
    sqlite3_busy_timeout(db_, milliseconds);
}

std::int64_t Database::pragmaValue(const char* name) {
    Statement pragma(*this, std::string("PRAGMA ") + name);
    return pragma.step() ? pragma.intAt(0) : 0;
}

void Database::copyTo(const std::filesystem::path& file) {
    // The file and its write-ahead journal as they lie, copied by the
    // system as cp copies them: while this connection holds the database
    // and writes nothing, the two together are the database as committed.
    // SQLite then folds the journal into the copy, which stands alone.
    const auto copyFile = [&](const std::filesystem::path& from, const std::filesystem::path& to) {
        std::error_code ec;
        std::filesystem::copy_file(from, to, ec);
        if (ec == std::errc::no_space_on_device) throw Error("Нет места на диске для копии таблицы «" + shownName_ + "».");
        if (ec) throw Error("Не удаётся скопировать таблицу «" + shownName_ + "»: " + ec.message() + ".");
    };
    std::filesystem::path journal = file_, copiedJournal = file;
    journal += "-wal";
    copiedJournal += "-wal";
    copyFile(file_, file);
    std::error_code ec;
    const bool withJournal = std::filesystem::file_size(journal, ec) > 0 && !ec;
    if (!withJournal) return;
    copyFile(journal, copiedJournal);
    {
        Database copy(file, OpenMode::Existing, shownName_);
        copy.exec("PRAGMA locking_mode=EXCLUSIVE");
        copy.exec("PRAGMA synchronous=OFF");
        copy.exec("PRAGMA wal_checkpoint(TRUNCATE)");
    }
    std::filesystem::remove(copiedJournal, ec);
}

bool Database::passesQuickCheck() {
    // Mapped rather than read page by page: half the time.
    exec("PRAGMA mmap_size=1073741824");
    Statement check(*this, "PRAGMA quick_check");
    return check.step() && check.textViewAt(0) == "ok" && !check.step();
}

bool Database::tryLock() {
    const int rc = sqlite3_exec(db_, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr);
    if ((rc & 0xFF) == SQLITE_BUSY || (rc & 0xFF) == SQLITE_LOCKED) return false;
    if (rc != SQLITE_OK) fail(rc);
    return true;
}

void Database::fail(int code) const {
    const std::string& name = shownName_;
    switch (code & 0xFF) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw Error("Таблица «" + name + "» открыта другой копией программы.");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        throw Error("Файл таблицы «" + name + "» повреждён.");
    case SQLITE_FULL:
        throw Error("Нет места на диске для таблицы «" + name + "».");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        throw Error("Таблица «" + name + "» доступна только для чтения.");
    case SQLITE_CANTOPEN:
        throw Error("Не удаётся открыть таблицу «" + name + "».");
    case SQLITE_IOERR:
        throw Error("Ошибка чтения или записи таблицы «" + name + "».");
    case SQLITE_NOMEM:
        throw Error("Недостаточно памяти для работы с таблицей «" + name + "».");
    default:
        throw Error("Ошибка таблицы «" + name + "»: " + sqlite3_errmsg(db_) + ".");
    }
}

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
    const int rc = sqlite3_prepare_v3(db.handle(), sql.data(), static_cast<int>(sql.size()),
                                      SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr);
    if (rc != SQLITE_OK) db.fail(rc);
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

void Statement::bindNull(int index) {
    sqlite3_bind_null(stmt_, index);
}

void Statement::bindInt(int index, std::int64_t value) {
    sqlite3_bind_int64(stmt_, index, value);
}

void Statement::bindText(int index, std::string_view utf8) {
    sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

void Statement::bindTextInPlace(int index, std::string_view utf8) {
    sqlite3_bind_text(stmt_, index, utf8.data(), static_cast<int>(utf8.size()), SQLITE_STATIC);
}

bool Statement::step() {
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    sqlite3_reset(stmt_);
    db_.fail(rc);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::int64_t Statement::intAt(int column) const {
    return sqlite3_column_int64(stmt_, column);
}

std::string Statement::textAt(int column) const {
    return std::string(textViewAt(column));
}

std::string_view Statement::textViewAt(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
    const int size = sqlite3_column_bytes(stmt_, column);
    return text ? std::string_view(text, static_cast<std::size_t>(size)) : std::string_view();
}

// Savepoints rather than BEGIN, so that transactions nest: the posts of a
// batch run inside the batch's transaction.
Transaction::Transaction(Database& db) : db_(db) {
    db_.exec("SAVEPOINT gamarium");
}

Transaction::~Transaction() {
    if (!done_)
        sqlite3_exec(db_.handle(), "ROLLBACK TO gamarium; RELEASE gamarium", nullptr, nullptr, nullptr);
}

void Transaction::commit() {
    db_.exec("RELEASE gamarium");
    done_ = true;
}

std::string quoteIdentifier(std::string_view name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

} // namespace gamarium::store::sqlite
