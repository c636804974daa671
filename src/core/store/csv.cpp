#include "core/store/csv.h"

#include "core/error.h"

namespace gamarium::store::csv {

std::string formatRow(const Row& cells, char delimiter) {
    const char special[] = {delimiter, '"', '\r', '\n', '\0'};
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += delimiter;
        const std::string& cell = cells[i];
        if (cell.find_first_of(special) == std::string::npos) {
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

namespace {

// Reads one line break at `i` (CR LF, LF or CR) and returns its length, or 0.
std::size_t lineBreakAt(std::string_view s, std::size_t i) {
    if (s[i] == '\n') return 1;
    if (s[i] != '\r') return 0;
    return i + 1 < s.size() && s[i + 1] == '\n' ? 2 : 1;
}

} // namespace

std::vector<Record> parse(std::string_view document, char delimiter) {
    std::vector<Record> records;
    Record record{1, {}};
    std::string cell;
    bool cellQuoted = false;
    std::size_t line = 1;
    std::size_t i = 0;
    const auto endCell = [&] {
        record.cells.push_back(std::move(cell));
        cell.clear();
        cellQuoted = false;
    };
    const auto endRecord = [&] {
        endCell();
        records.push_back(std::move(record));
        record = Record{line, {}};
    };
    while (i < document.size()) {
        if (cell.empty() && !cellQuoted && document[i] == '"') {
            const std::size_t startLine = line;
            cellQuoted = true;
            ++i;
            for (;;) {
                if (i >= document.size())
                    throw Error("CSV: незакрытые кавычки в строке " + std::to_string(startLine) + ".");
                if (const std::size_t length = lineBreakAt(document, i)) {
                    cell.append(document.substr(i, length));
                    i += length;
                    ++line;
                    continue;
                }
                const char c = document[i++];
                if (c != '"') {
                    cell += c;
                } else if (i < document.size() && document[i] == '"') {
                    cell += '"';
                    ++i;
                } else {
                    break;
                }
            }
            if (i < document.size() && document[i] != delimiter && !lineBreakAt(document, i))
                throw Error("CSV: текст после закрывающей кавычки в строке " + std::to_string(line) + ".");
            continue;
        }
        if (const std::size_t length = lineBreakAt(document, i)) {
            i += length;
            ++line;
            endRecord();
        } else if (document[i] == delimiter) {
            ++i;
            endCell();
        } else {
            cell += document[i++];
        }
    }
    if (!cell.empty() || cellQuoted || !record.cells.empty()) endRecord();
    // Empty lines at the end of a file are no records.
    while (!records.empty() && records.back().cells.size() == 1 && records.back().cells.front().empty()) {
        records.pop_back();
    }
    return records;
}

} // namespace gamarium::store::csv
