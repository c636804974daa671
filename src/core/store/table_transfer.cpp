#include "store/table_transfer.h"

#include "error.h"
#include "store/csv.h"
#include "store/table.h"
#include "text/cp1251.h"

namespace gamarium::store {

void exportCsv(Table& table, std::ostream& out) {
    csv::Row cells;
    for (int i = 0; i < table.fieldCount(); ++i) cells.push_back(text::toUtf8(table.field(i).name()));
    out << csv::formatRow(cells);
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        for (int i = 0; i < table.fieldCount(); ++i) cells[static_cast<std::size_t>(i)] = text::toUtf8(table.field(i).asString());
        out << csv::formatRow(cells);
    }
}

int importCsv(Table& table, std::string_view document) {
    if (document.substr(0, 3) == "\xEF\xBB\xBF") document.remove_prefix(3);
    const std::vector<csv::Row> rows = csv::parse(document);
    if (rows.empty()) throw Error("CSV: нет строки заголовка.");
    std::vector<Field*> columns;
    for (const std::string& name : rows.front()) {
        Field* field = table.findField(text::fromUtf8(name));
        if (!field) throw Error("CSV: в таблице нет поля «" + name + "».");
        columns.push_back(field);
    }
    table.runAsOneTransaction([&] {
        for (std::size_t r = 1; r < rows.size(); ++r) {
            const csv::Row& row = rows[r];
            const std::string where = "CSV, строка " + std::to_string(r + 1);
            if (row.size() != columns.size())
                throw Error(where + ": " + std::to_string(row.size()) + " ячеек вместо " +
                            std::to_string(columns.size()) + ".");
            table.append();
            for (std::size_t c = 0; c < columns.size(); ++c) {
                try {
                    columns[c]->setAsString(text::fromUtf8(row[c]));
                } catch (const Error& e) {
                    throw Error(where + ", поле " + text::toUtf8(columns[c]->name()) + ": " + e.what());
                }
            }
            table.post();
        }
    });
    return static_cast<int>(rows.size()) - 1;
}

} // namespace gamarium::store
