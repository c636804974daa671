#include "core/store/table_transfer.h"

#include "core/error.h"
#include "core/store/csv.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/not_text.h"
#include "core/text/printable.h"

#include <algorithm>

namespace gamarium::store {
namespace {

bool utf8(const CsvFormat& format) {
    return format.encoding == CsvFormat::Encoding::Utf8;
}

std::string encoded(const text::StoredText& cell, const CsvFormat& format) {
    return utf8(format) ? text::toUtf8(cell) : cell.bytes();
}

std::string where(std::size_t line) {
    return "CSV, строка " + std::to_string(line);
}

// A whole file that cannot be CSV text, refused before it is parsed.
void checkIsText(std::string_view document) {
    if (document.starts_with("\xFF\xFE") || document.starts_with("\xFE\xFF"))
        throw Error("CSV: файл в кодировке UTF-16; сохраните его в UTF-8 или Windows-1251.");
    if (const auto nul = text::findNotText(document, text::TextKind::File)) {
        const auto line = 1 + std::count(document.begin(), document.begin() + static_cast<std::ptrdiff_t>(nul->at), '\n');
        throw Error(where(static_cast<std::size_t>(line)) + ": " + nul->reason + ".");
    }
}

text::StoredText decoded(const std::string& cell, const CsvFormat& format, const std::string& place) {
    text::ExactText exact = utf8(format) ? text::fromUtf8Exactly(cell) : text::fromCp1251Exactly(cell);
    if (!exact.problem.empty()) throw Error(place + ": " + exact.problem + ".");
    return std::move(exact.text);
}

std::vector<Field*> headerFields(Table& table, const csv::Record& header, const CsvFormat& format) {
    std::vector<Field*> columns;
    for (const std::string& cell : header.cells) {
        const text::StoredText name = decoded(cell, format, where(header.line));
        const std::string shown = text::quoted(text::toUtf8(name));
        Field* field = table.findField(name.bytes());
        if (!field) throw Error(where(header.line) + ": в таблице нет поля " + shown + ".");
        if (std::find(columns.begin(), columns.end(), field) != columns.end())
            throw Error(where(header.line) + ": поле " + shown + " указано дважды.");
        columns.push_back(field);
    }
    return columns;
}

} // namespace

void exportCsv(Table& table, std::ostream& out, const CsvFormat& format) {
    csv::Row cells;
    for (int i = 0; i < table.fieldCount(); ++i) cells.push_back(encoded(text::StoredText::fromCp1251(table.field(i).name()), format));
    out << csv::formatRow(cells, format.delimiter);
    for (table.first(); !table.isEmpty() && !table.eof(); table.next()) {
        for (int i = 0; i < table.fieldCount(); ++i)
            cells[static_cast<std::size_t>(i)] = encoded(table.field(i).asString(), format);
        out << csv::formatRow(cells, format.delimiter);
    }
}

ImportResult importCsv(Table& table, std::string_view document, const ImportOptions& options) {
    const CsvFormat& format = options.format;
    if (utf8(format) && document.starts_with("\xEF\xBB\xBF")) document.remove_prefix(3);
    checkIsText(document);
    const std::vector<csv::Record> records = csv::parse(document, format.delimiter);
    if (records.empty()) throw Error("CSV: нет строки заголовка.");
    if (table.readOnly()) throw Error("Таблица «" + text::toUtf8(text::StoredText::fromCp1251(table.name())) + "» доступна только для чтения.");
    const std::vector<Field*> columns = headerFields(table, records.front(), format);
    ImportResult result;
    table.runAsOneTransaction([&] {
        for (std::size_t r = 1; r < records.size(); ++r) {
            const csv::Record& record = records[r];
            if (record.cells.size() != columns.size())
                throw Error(where(record.line) + ": " + std::to_string(record.cells.size()) + " ячеек вместо " +
                            std::to_string(columns.size()) + ".");
            table.append();
            for (std::size_t c = 0; c < columns.size(); ++c) {
                Field& field = *columns[c];
                const std::string place = where(record.line) + ", поле " + text::toUtf8(text::StoredText::fromCp1251(field.name()));
                const text::StoredText value = decoded(record.cells[c], format, place);
                if (field.type() == FieldType::Text && value.size() > static_cast<std::size_t>(field.size())) {
                    if (!options.cutToFieldSize)
                        throw Error(place + ": текст длиннее поля (" + std::to_string(value.size()) + " символов, в поле " +
                                    std::to_string(field.size()) + ").");
                    ++result.cut;
                }
                try {
                    field.setAsString(value);
                } catch (const Error& e) {
                    throw Error(place + ": " + e.what());
                }
            }
            table.post();
            ++result.added;
        }
    });
    return result;
}

} // namespace gamarium::store
