#include "core/store/base_conversion.h"

#include "core/error.h"
#include "core/paradox/code_page.h"
#include "core/paradox/paradox_table.h"
#include "core/store/base_folder_lock.h"
#include "core/store/catalogue.h"
#include "core/store/paradox_files_aside.h"
#include "core/store/schema.h"
#include "core/store/table.h"
#include "core/store/table_file.h"
#include "core/text/cp1251.h"

#include <memory>

namespace gamarium::store {
namespace {

using OldType = paradox::FieldType;

std::string quoted(const std::string& cp1251) {
    return "«" + text::toUtf8(text::StoredText::fromCp1251(cp1251)) + "»";
}

OldType oldTypeOf(FieldType type) {
    switch (type) {
    case FieldType::SmallInt: return OldType::Short;
    case FieldType::Integer: return OldType::Long;
    case FieldType::Text: return OldType::Alpha;
    case FieldType::Memo: return OldType::Memo;
    }
    return OldType::Alpha;
}

std::string oldTypeName(std::uint8_t type) {
    switch (static_cast<OldType>(type)) {
    case OldType::Alpha: return "текст (A)";
    case OldType::Short: return "короткое целое (S)";
    case OldType::Long: return "длинное целое (I)";
    case OldType::Memo: return "мемо (M)";
    }
    return "тип " + std::to_string(type);
}

// For each field of the old table, the position of the field of the same
// name in the schema; every schema field must be there, with its type.
std::vector<int> matchFields(const paradox::ParadoxTable& old, const paradox::CodePage& codePage,
                             const TableSchema& schema, const std::string& table) {
    std::vector<int> positions;
    std::vector<bool> found(schema.fields.size(), false);
    for (const paradox::FieldInfo& field : old.fields()) {
        int replaced = 0;
        const std::string name = codePage.toCp1251(field.name, replaced);
        std::size_t i = 0;
        while (i < schema.fields.size() && !text::equalNoCase(schema.fields[i].name, name)) ++i;
        if (i == schema.fields.size())
            throw Error("В таблице " + quoted(table) + " есть поле " + quoted(name) + ", которого нет в таблицах программы.");
        if (found[i]) throw Error("В таблице " + quoted(table) + " поле " + quoted(name) + " указано дважды.");
        const OldType expected = oldTypeOf(schema.fields[i].type);
        if (field.type != static_cast<std::uint8_t>(expected))
            throw Error("Поле " + quoted(name) + " таблицы " + quoted(table) + ": " + oldTypeName(field.type) +
                        ", а нужно " + oldTypeName(static_cast<std::uint8_t>(expected)) + ".");
        found[i] = true;
        positions.push_back(static_cast<int>(i));
    }
    for (std::size_t i = 0; i < schema.fields.size(); ++i)
        if (!found[i]) throw Error("В таблице " + quoted(table) + " нет поля " + quoted(schema.fields[i].name) + ".");
    return positions;
}

void storeValue(Field& field, const paradox::Value& value, const paradox::CodePage& codePage, TableConversion& report) {
    if (value.null) {
        field.clear();
    } else if (field.isInteger()) {
        field.setAsInteger(value.integer);
    } else {
        field.setAsString(text::StoredText::fromCp1251(codePage.toCp1251(value.text, report.replaced)));
        if (value.cut) ++report.memosCut;
    }
}

// One old table read whole into a new table file, not yet in place.
struct ConvertedTable {
    files::Path file;
    std::unique_ptr<NewTableFile> built;
    TableConversion report;
};

ConvertedTable convertTable(const files::Path& file, const TableSchema& schema) {
    ConvertedTable converted{file, nullptr, {files::nameText(file).bytes(), 0, 0, 0}};
    const std::string& name = converted.report.table;
    paradox::ParadoxTable old(file);
    const paradox::CodePage codePage = [&] {
        try {
            return paradox::CodePage(old.codePage());
        } catch (const Error& e) {
            throw Error("Таблица " + quoted(name) + ": " + e.what() + ".");
        }
    }();
    const std::vector<int> positions = matchFields(old, codePage, schema, name);
    converted.built = std::make_unique<NewTableFile>(file, schema);
    Table table(file.parent_path(), files::nameText(converted.built->building()).bytes());
    table.open();
    TableConversion& report = converted.report;
    table.runAsOneTransaction([&] {
        old.readRecords([&](const std::vector<paradox::Value>& values) {
            table.append();
            for (std::size_t i = 0; i < values.size(); ++i) storeValue(table.field(positions[i]), values[i], codePage, report);
            table.post();
            ++report.records;
        });
    });
    table.close();
    return converted;
}

} // namespace

std::vector<std::string> paradoxTablesOf(const files::Path& home, std::string_view base) {
    std::vector<std::string> found;
    for (const std::string& name : {gameTableName(base), patchTableName(base)}) {
        const files::Path file = files::findNoCase(basesFolder(home), text::StoredText::fromCp1251(name));
        if (paradox::isParadoxTable(file)) found.push_back(files::nameText(file).bytes());
    }
    return found;
}

BaseConversion convertBase(const files::Path& home, std::string_view base, const BaseChangeHooks& hooks) {
    const std::pair<std::string, const TableSchema*> tables[] = {{gameTableName(base), &gameTableSchema()},
                                                                 {patchTableName(base), &patchTableSchema()}};
    const files::Path folder = basesFolder(home);
    BaseFolderLock lock(folder);
    std::vector<ConvertedTable> converted;
    for (const auto& [name, schema] : tables) {
        const files::Path file = files::findNoCase(folder, text::StoredText::fromCp1251(name));
        if (paradox::isParadoxTable(file)) converted.push_back(convertTable(file, *schema));
    }
    if (converted.empty())
        throw Error("Таблицы базы " + quoted(std::string(base)) + " записаны не в старом формате (Paradox).");

    std::vector<files::Path> oldTables;
    for (const ConvertedTable& table : converted) oldTables.push_back(table.file);
    ParadoxFilesAside aside(folder, base, oldTables);
    if (hooks.moving)
        for (const auto& [from, to] : aside.moves()) hooks.moving(from, to);
    for (std::size_t i = 0; i < converted.size(); ++i) {
        try {
            converted[i].built->putInPlace();
        } catch (...) {
            for (std::size_t placed = 0; placed < i; ++placed) aside.restore(converted[placed].file);
            throw;
        }
    }
    aside.finish();
    BaseConversion result{{}, aside.folder()};
    for (const ConvertedTable& table : converted) result.tables.push_back(table.report);
    return result;
}

std::string reportLine(const TableConversion& conversion) {
    return text::toUtf8(text::StoredText::fromCp1251(conversion.table)) + ": записей " + std::to_string(conversion.records) + ", заменено символов " +
           std::to_string(conversion.replaced) + ", обрезано мемо " + std::to_string(conversion.memosCut);
}

} // namespace gamarium::store
