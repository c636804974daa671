#include "core/store/schema.h"

namespace gamarium::store {
namespace {

TableSchema withKeyOnN(std::vector<FieldDef> fields) {
    return TableSchema{std::move(fields), {IndexDef{"N", true, true}}};
}

} // namespace

const TableSchema& gameTableSchema() {
    using T = FieldType;
    static const TableSchema schema = withKeyOnN({
        {"N", T::SmallInt, 0, true},
        {"Sid", T::Text, 3, false},
        {"Name", T::Text, 80, false},
        {"Region", T::Text, 3, false},
        {"Publisher", T::Text, 25, false},
        {"Developer", T::Text, 30, false},
        {"Year", T::Integer, 0, false},
        {"Ngamers", T::Integer, 0, false},
        {"Type", T::Text, 20, false},
        {"Genre", T::Text, 20, false},
        {"File", T::Text, 250, false},
        {"Size", T::SmallInt, 0, false},
        {"Image1", T::Text, 70, false},
        {"Image2", T::Text, 70, false},
        {"Image3", T::Text, 70, false},
        {"Image4", T::Text, 70, false},
        {"Image5", T::Text, 70, false},
        {"Text1", T::Memo, 240, false},
        {"Text2", T::Memo, 240, false},
        {"Text3", T::Memo, 240, false},
        {"Text4", T::Memo, 240, false},
        {"Related", T::Text, 70, false},
        {"Rsize", T::Integer, 0, false},
        {"Analog", T::Text, 240, false},
        {"Drname", T::Text, 240, false},
        {"Rating", T::Integer, 0, false},
        {"Patch", T::Integer, 0, false},
    });
    return schema;
}

const TableSchema& patchTableSchema() {
    using T = FieldType;
    static const TableSchema schema = withKeyOnN({
        {"N", T::SmallInt, 0, true},
        {"Patch", T::Text, 70, false},
        {"Size", T::SmallInt, 0, false},
        {"Proc", T::SmallInt, 0, false},
        {"Text", T::Text, 2, false},
        {"Autor", T::Text, 30, false},
        {"Year", T::SmallInt, 0, false},
    });
    return schema;
}

const char* fieldTypeName(FieldType type) {
    switch (type) {
    case FieldType::SmallInt: return "smallint";
    case FieldType::Integer: return "integer";
    case FieldType::Text: return "text";
    case FieldType::Memo: return "memo";
    }
    return "text";
}

} // namespace gamarium::store
