#pragma once

#include <ostream>
#include <string_view>

namespace gamarium::store {

class Table;

// How a CSV file is written or read.
struct CsvFormat {
    enum class Encoding { Utf8, Cp1251 };
    Encoding encoding = Encoding::Utf8;
    char delimiter = ',';
};

// Writes an open table as CSV: a header of the field names in table order,
// then one row per record in table order; null fields are empty cells.
void exportCsv(Table& table, std::ostream& out, const CsvFormat& format = {});

struct ImportOptions {
    CsvFormat format;
    bool cutToFieldSize = false; // else a text longer than its field refuses the file
};

struct ImportResult {
    int added = 0;
    int cut = 0; // texts cut to their field's size
};

// Appends the rows of a CSV document (columns matched by header name, any
// subset and order, each at most once) at the end of an open table, through
// the field rules of the table. Every text arrives exactly as written or the
// file is refused: bytes that are not text in the file's encoding, a
// character Windows-1251 cannot hold, a text longer than its field (unless
// cutting is asked for). All or nothing: a bad row adds nothing and the
// error names the row's physical line and the field.
ImportResult importCsv(Table& table, std::string_view document, const ImportOptions& options = {});

} // namespace gamarium::store
