#include "core/store/schema.h"

#include "core/store/record_fields.h"

namespace gamarium::store {
namespace {

FieldDef field(FieldKey key, FieldType type, int size = 0, bool required = false) {
    return FieldDef{std::string(key.name()), type, size, required};
}

// Both tables declare their key on N, whose name is the same in each.
TableSchema withKeyOnN(std::vector<FieldDef> fields) {
    return TableSchema{std::move(fields), {IndexDef{std::string(games::N.name()), true, true}}};
}

} // namespace

const TableSchema& gameTableSchema() {
    using T = FieldType;
    namespace g = games;
    static const TableSchema schema = [] {
        std::vector<FieldDef> fields{
            field(g::N, T::SmallInt, 0, true),
            field(g::Sid, T::Text, 3),
            field(g::Name, T::Text, 80),
            field(g::Region, T::Text, 3),
            field(g::Publisher, T::Text, 25),
            field(g::Developer, T::Text, 30),
            field(g::Year, T::Integer),
            field(g::Ngamers, T::Integer),
            field(g::Type, T::Text, 20),
            field(g::Genre, T::Text, 20),
            field(g::File, T::Text, 250),
            field(g::Size, T::SmallInt),
        };
        for (const FieldKey picture : g::kPictureFields) fields.push_back(field(picture, T::Text, 70));
        for (const FieldKey text : {g::Text1, g::Text2, g::Text3, g::Text4})
            fields.push_back(field(text, T::Memo, 240));
        fields.insert(fields.end(), {
            field(g::Related, T::Text, 70),
            field(g::Rsize, T::Integer),
            field(g::Analog, T::Text, 240),
            field(g::Drname, T::Text, 240),
            field(g::Rating, T::Integer),
            field(g::Patch, T::Integer),
        });
        return withKeyOnN(std::move(fields));
    }();
    return schema;
}

const TableSchema& patchTableSchema() {
    using T = FieldType;
    namespace p = patches;
    static const TableSchema schema = withKeyOnN({
        field(p::N, T::SmallInt, 0, true),
        field(p::Patch, T::Text, 70),
        field(p::Size, T::SmallInt),
        field(p::Proc, T::SmallInt),
        field(p::Text, T::Text, 2),
        field(p::Autor, T::Text, 30),
        field(p::Year, T::SmallInt),
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
