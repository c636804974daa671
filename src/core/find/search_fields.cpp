#include "core/find/search_fields.h"

#include "core/text/cp1251.h"

#include <array>

namespace gamarium::find {
namespace {

namespace g = store::games;

constexpr std::array<store::FieldKey, kSearchFieldCount> kFields = {
    g::Name, g::Drname, g::Analog, g::Publisher, g::Developer, g::Year, g::Type,
    g::Genre, g::Text1, g::Text2, g::Text3, g::Text4, g::File,
};

} // namespace

store::FieldKey fieldKey(SearchField field) {
    return kFields[static_cast<std::size_t>(field)];
}

std::optional<FieldSet> fieldChoice(std::string_view name) {
    if (text::equalNoCase(name, "Any")) return FieldSet::all();
    for (int i = 0; i < kSearchFieldCount; ++i) {
        const auto field = static_cast<SearchField>(i);
        if (!text::equalNoCase(name, kFields[static_cast<std::size_t>(i)].name())) continue;
        if (field == SearchField::Type || field == SearchField::Genre)
            return FieldSet::of(SearchField::Type) | FieldSet::of(SearchField::Genre);
        return FieldSet::of(field);
    }
    return std::nullopt;
}

} // namespace gamarium::find
