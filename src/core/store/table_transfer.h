#pragma once

#include <ostream>
#include <string_view>

namespace gamarium::store {

class Table;

// Writes an open table as CSV in UTF-8: a header of the field names in table
// order, then one row per record in table order; null fields are empty cells.
void exportCsv(Table& table, std::ostream& out);

// Appends the rows of a UTF-8 CSV document (columns matched by header name,
// any subset and order) at the end of an open table, through the field rules
// of the table. All or nothing: a bad row adds nothing and the error names
// the row and the field. Returns the number of records added.
int importCsv(Table& table, std::string_view document);

} // namespace gamarium::store
