#include "store/csv.h"

#include "error.h"

namespace gamarium::store::csv {

std::string formatRow(const Row& cells) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += ',';
        const std::string& cell = cells[i];
        if (cell.find_first_of(",\"\r\n") == std::string::npos) {
            line += cell;
            continue;
        }
        line += '"';
        for (char c : cell) {
            if (c == '"') line += '"';
            line += c;
        }
        line += '"';
    }
    return line + "\r\n";
}

std::vector<Row> parse(std::string_view document) {
    std::vector<Row> rows;
    Row row;
    std::string cell;
    std::size_t line = 1;
    std::size_t i = 0;
    const auto endCell = [&] { row.push_back(std::move(cell)); cell.clear(); };
    const auto endRow = [&] { endCell(); rows.push_back(std::move(row)); row.clear(); };
    while (i < document.size()) {
        if (cell.empty() && document[i] == '"') {
            const std::size_t startLine = line;
            ++i;
            for (;;) {
                if (i >= document.size())
                    throw Error("CSV: незакрытые кавычки в строке " + std::to_string(startLine) + ".");
                const char c = document[i++];
                if (c == '"') {
                    if (i < document.size() && document[i] == '"') {
                        cell += '"';
                        ++i;
                        continue;
                    }
                    break;
                }
                if (c == '\n') ++line;
                cell += c;
            }
            if (i < document.size() && document[i] != ',' && document[i] != '\r' && document[i] != '\n')
                throw Error("CSV: текст после закрывающей кавычки в строке " + std::to_string(line) + ".");
            continue;
        }
        const char c = document[i++];
        if (c == ',') {
            endCell();
        } else if (c == '\n' || (c == '\r' && i < document.size() && document[i] == '\n')) {
            if (c == '\r') ++i;
            endRow();
            ++line;
        } else {
            cell += c;
        }
    }
    if (!cell.empty() || !row.empty()) endRow();
    return rows;
}

} // namespace gamarium::store::csv
