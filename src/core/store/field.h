#pragma once

#include "core/error.h"
#include "core/store/schema.h"
#include "core/text/stored_text.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace gamarium::store {

class Table;

// The value of one field of the record buffer.
struct FieldValue {
    bool null = true;
    std::int64_t integer = 0; // integer fields
    text::StoredText text;    // text and memo fields
};

// A field of an open table, read and written through the table's current
// record.
class Field {
public:
    Field(Table& table, int index, FieldDef def);

    const std::string& name() const { return def_.name; }
    FieldType type() const { return def_.type; }
    int size() const { return def_.size; }
    int index() const { return index_; }
    bool isInteger() const { return def_.type == FieldType::SmallInt || def_.type == FieldType::Integer; }

    bool isNull() const;
    // Null reads as the empty text; integers read as decimal text.
    text::StoredText asString() const;
    // Null reads as 0.
    std::int64_t asInteger() const;
    // What asInteger gives when the field holds `stored`, its value as
    // Table::forEachStoredRecord hands it over (the empty text for null).
    std::int64_t asInteger(std::string_view stored) const;

    // Text fields keep at most size() characters. For an integer field the
    // empty text makes it null; other text must be a whole number.
    void setAsString(const text::StoredText& value);
    // Fails when the value lies outside the field's range.
    void setAsInteger(std::int64_t value);
    void clear();

private:
    const FieldValue& value() const;
    Error rangeError(const std::string& number) const;
    FieldValue& changeableValue();

    Table& table_;
    int index_;
    FieldDef def_;
};

// The range an integer field accepts.
std::int64_t minimumOf(FieldType type);
std::int64_t maximumOf(FieldType type);

} // namespace gamarium::store
