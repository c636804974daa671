#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comma-separated values as RFC 4180 writes them: CR LF between records,
// quotes around cells that hold a comma, a quote or a line break.
namespace gamarium::store::csv {

using Row = std::vector<std::string>;

std::string formatRow(const Row& cells);

// Splits a whole document into rows. Accepts LF as well as CR LF between
// records; a line break inside quotes belongs to the cell. Throws Error on an
// unterminated quote or text after a closing quote.
std::vector<Row> parse(std::string_view document);

} // namespace gamarium::store::csv
