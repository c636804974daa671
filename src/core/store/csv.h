#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as RFC 4180 writes them: CR LF between records,
// quotes around cells that hold the delimiter, a quote or a line break.
// Spreadsheet programs set to Russian use ';' as the delimiter instead.
namespace gamarium::store::csv {

using Row = std::vector<std::string>;

// A row with the physical line of the file it begins on (1-based).
struct Record {
    std::size_t line = 0;
    Row cells;
};

std::string formatRow(const Row& cells, char delimiter = ',');

// Splits a whole document into records. CR LF, LF and a lone CR all end a
// line; a line break inside quotes belongs to the cell; empty lines at the
// end are no records. Throws Error on an unterminated quote or text after a
// closing quote.
std::vector<Record> parse(std::string_view document, char delimiter = ',');

} // namespace gamarium::store::csv
