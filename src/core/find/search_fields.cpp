#include "core/find/search_fields.h"

#include "core/text/cp1251.h"

#include <array>

namespace gamarium::find {
namespace {

constexpr std::array<std::string_view, kSearchFieldCount> kNames = {
    "Name", "Drname", "Analog", "Publisher", "Developer", "Year", "Type",
    "Genre", "Text1", "Text2", "Text3", "Text4", "File",
};

} // namespace

std::string_view fieldName(SearchField field) {
    return kNames[static_cast<std::size_t>(field)];
}

std::optional<FieldSet> fieldChoice(std::string_view name) {
    if (text::equalNoCase(name, "Any")) return FieldSet::all();
    for (int i = 0; i < kSearchFieldCount; ++i) {
        const auto field = static_cast<SearchField>(i);
        if (!text::equalNoCase(name, kNames[static_cast<std::size_t>(i)])) continue;
        if (field == SearchField::Type || field == SearchField::Genre)
            return FieldSet::of(SearchField::Type) | FieldSet::of(SearchField::Genre);
        return FieldSet::of(field);
    }
    return std::nullopt;
}

} // namespace gamarium::find
