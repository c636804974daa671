#pragma once

#include "core/files/files.h"
#include "core/store/catalogue.h"

#include <string>
#include <string_view>
#include <vector>

namespace gamarium::store {

// What converting one old table gave.
struct TableConversion {
    std::string table;    // file name, Windows-1251
    int records = 0;
    int replaced = 0;     // characters with no Windows-1251 form, now '?'
    int memosCut = 0;     // memos kept only as far as the record held them (no memo file)
};

struct BaseConversion {
    std::vector<TableConversion> tables;
    files::Path oldFilesFolder; // where the old files now lie
};

// The game or patch table of the base that is an old Paradox table, if any
// (the game table first). Checks the base name.
std::vector<std::string> paradoxTablesOf(const files::Path& home, std::string_view base);

// Converts the base's Paradox tables into tables of the program: every
// record in the order the old table shows them, fields matched by name and
// type, texts in Windows-1251, memos whole from the memo file, nulls kept.
// The old files (.db, .mb, side files) are moved, untouched, into
// base/paradox/<name>-<date and time>/. All or nothing: a failure (a damaged
// or encrypted table, a field missing or of another type) leaves the old
// files in place and no new table, and throws Error. `hooks.moving` hears
// of each old file before it is moved.
BaseConversion convertBase(const files::Path& home, std::string_view base, const BaseChangeHooks& hooks = {});

// "games.db: записей 3, заменено символов 0, обрезано мемо 0" (UTF-8).
std::string reportLine(const TableConversion& conversion);

} // namespace gamarium::store
