#pragma once

#include <string>
#include <vector>

namespace gamarium::store {

enum class FieldType { SmallInt, Integer, Text, Memo };

struct FieldDef {
    std::string name; // Windows-1251
    FieldType type = FieldType::Text;
    int size = 0;     // characters for text, the in-record part for memo
    bool required = false;
};

// An index as declared when a table is created. The store keeps the
// declaration with the table but enforces no key: tables are plain lists in
// position order.
struct IndexDef {
    std::string field;
    bool primary = false;
    bool unique = false;
};

struct TableSchema {
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
};

const TableSchema& gameTableSchema();
const TableSchema& patchTableSchema();

const char* fieldTypeName(FieldType type);

} // namespace gamarium::store
