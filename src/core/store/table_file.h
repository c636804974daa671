#pragma once

#include "files/files.h"
#include "store/schema.h"

#include <memory>

namespace gamarium::store {

namespace sqlite {
class Database;
}

// The file of one table: an SQLite database marked as ours, with the field
// definitions it was created with and its records. The text columns hold
// UTF-8 so that common SQLite tools show them readably.

// Opens an existing table file for this process alone. A file that is not a
// table of the program, or is damaged, is refused before anything is written
// to it; a file another copy of the program holds gives an "in use" error.
std::unique_ptr<sqlite::Database> openTableFile(const files::Path& file);

// The field and index definitions kept in an open table file.
TableSchema readSchema(sqlite::Database& db);

// Writes a new, empty table file in place of `file` (an existing table of
// the program is replaced whole; any other file there is refused).
void createTableFile(const files::Path& file, const TableSchema& schema);

} // namespace gamarium::store
