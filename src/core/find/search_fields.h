#pragma once

#include "core/store/record_fields.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The fields of a game that the search looks in.
namespace gamarium::find {

enum class SearchField : std::uint8_t {
    Name, Drname, Analog, Publisher, Developer, Year, Type, Genre, Text1, Text2, Text3, Text4, File,
};
inline constexpr int kSearchFieldCount = 13;

// The game table's field.
store::FieldKey fieldKey(SearchField field);

// A choice of fields, as a set.
class FieldSet {
public:
    static FieldSet all() { return FieldSet((1u << kSearchFieldCount) - 1); }
    static FieldSet none() { return FieldSet(0); }
    static FieldSet of(SearchField field) { return FieldSet(bit(field)); }

    bool contains(SearchField field) const { return (bits_ & bit(field)) != 0; }
    bool isAll() const { return bits_ == all().bits_; }
    bool isEmpty() const { return bits_ == 0; }
    FieldSet operator|(FieldSet other) const { return FieldSet(bits_ | other.bits_); }
    bool operator==(const FieldSet&) const = default;

private:
    explicit FieldSet(std::uint32_t bits) : bits_(bits) {}
    static std::uint32_t bit(SearchField field) { return 1u << static_cast<unsigned>(field); }
    std::uint32_t bits_;
};

// A choice by name, whatever its letter case: a field's name, "Genre" or
// "Type" (the two are one choice, as the editor shows them in one row),
// or "Any" for every field. Nothing for another name.
std::optional<FieldSet> fieldChoice(std::string_view name);

} // namespace gamarium::find
