#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// A thin RAII layer over the SQLite C API. Every failure becomes an Error
// whose message names the table file.
namespace gamarium::store::sqlite {

enum class OpenMode {
    Existing,  // an existing file, read and written
    Create,    // a new file
    Snapshot,  // an existing file read as it lies, never locked or written
};

class Database {
public:
    // `shownName` is the name messages give the file (a table being built
    // under a temporary name is still called by its own name).
    Database(const std::filesystem::path& file, OpenMode mode, std::string shownName);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const char* sql);
    std::int64_t lastInsertId() const;
    sqlite3* handle() const { return db_; }
    const std::filesystem::path& file() const { return file_; }
    const std::string& shownName() const { return shownName_; }
    bool readOnly() const;
    // Whether closing folds the write-ahead journal into the file.
    void setCheckpointOnClose(bool on);
    // How long a statement waits for another copy's lock before it fails.
    void setBusyTimeout(int milliseconds);
    // The value of a PRAGMA that returns one number.
    std::int64_t pragmaValue(const char* name);
    // Writes the database as committed into a new file that stands alone.
    // Only while this connection holds the file (exclusive locking) and is
    // not writing; the copy is not yet synced to disk.
    void copyTo(const std::filesystem::path& file);
    // SQLite's quick check of the whole file: true when it finds nothing wrong.
    bool passesQuickCheck();
    // Takes the file's lock for this connection alone and lets it go again:
    // false when another connection holds it; any other failure throws.
    bool tryLock();

    // Throws the Error that describes `code` for this file.
    [[noreturn]] void fail(int code) const;

private:
    sqlite3* db_ = nullptr;
    std::filesystem::path file_;
    std::string shownName_;
};

class Statement {
public:
    Statement(Database& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void bindNull(int index);
    void bindInt(int index, std::int64_t value);
    void bindText(int index, std::string_view utf8);
    // Binds without a copy: the text must live until the statement is reset.
    void bindTextInPlace(int index, std::string_view utf8);

    // Steps once: true while a row is there.
    bool step();
    // Runs the statement to its end and makes it ready to run again.
    void run();
    void reset();

    bool isNull(int column) const;
    std::int64_t intAt(int column) const;
    std::string textAt(int column) const;
    // Valid until the next step or reset.
    std::string_view textViewAt(int column) const;

private:
    Database& db_;
    sqlite3_stmt* stmt_ = nullptr;
};

// A transaction that rolls back unless committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();

private:
    Database& db_;
    bool done_ = false;
};

// The quoted SQL identifier of a name.
std::string quoteIdentifier(std::string_view name);

} // namespace gamarium::store::sqlite
