#pragma once

#include "core/files/files.h"
#include "core/store/schema.h"

#include <memory>

namespace gamarium::store {

namespace sqlite {
class Database;
}

// The file of one table: an SQLite database marked as ours, with the field
// definitions it was created with and its records. The text columns hold
// UTF-8 so that common SQLite tools show them readably.

// Opens an existing table file for this process alone. SQLite first brings
// back what a killed program had posted; nothing is written to a file that
// is not a table of the program, and a damaged one is refused. A file
// another copy of the program holds gives an "in use" error. Where the file
// or its folder may not be written, the table is opened for reading only.
std::unique_ptr<sqlite::Database> openTableFile(const files::Path& file);

// A copy of a table file (a restore point's) read as it lies, never locked
// or written: refused (Error) unless it is a table of the program and whole
// (as long as its pages count), and for openCheckedCopy unless it also
// passes SQLite's quick check, which reads every page.
std::unique_ptr<sqlite::Database> openCopy(const files::Path& file);
std::unique_ptr<sqlite::Database> openCheckedCopy(const files::Path& file);

// Whether the file begins as a table file of the program does (its own
// marks), without opening it.
bool isProgramTableFile(const files::Path& file);

// Whether another copy of the program holds the table file now. A file
// that is not a table of the program, or a damaged one, is held by none.
bool isHeldElsewhere(const files::Path& file);

// Removes every record of an open table file in one transaction.
void removeAllRecords(sqlite::Database& db);

// The field and index definitions kept in an open table file.
TableSchema readSchema(sqlite::Database& db);

// A new, empty table file, built whole under a temporary name beside the
// table it is meant to become. It is removed again unless put in place.
class NewTableFile {
public:
    NewTableFile(files::Path target, const TableSchema& schema);
    ~NewTableFile();
    NewTableFile(const NewTableFile&) = delete;
    NewTableFile& operator=(const NewTableFile&) = delete;

    // The file being built, for filling it before it is put in place.
    const files::Path& building() const { return building_; }

    // Replaces the target (which no one may hold open now) with the new table.
    void putInPlace();

private:
    files::Path target_;
    files::Path building_;
    bool placed_ = false;
};

// Writes a new, empty table file in place of `file` (an existing table of
// the program is replaced whole; any other file there is refused).
void createTableFile(const files::Path& file, const TableSchema& schema);

// The name messages give a table file: its own name, in UTF-8.
std::string shownFileName(const files::Path& file);

} // namespace gamarium::store
