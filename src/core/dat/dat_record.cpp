#include "dat/dat_record.h"

#include "dat/genres.h"
#include "dat/regions.h"
#include "store/schema.h"
#include "text/cp1251.h"
#include "text/exact_conversion.h"
#include "tools/merge.h"
#include "tools/rename.h"

#include <charconv>

namespace gamarium::dat {
namespace {

constexpr std::uint64_t kKiB = 1024;

std::size_t fieldSize(DatField field) {
    for (const store::FieldDef& def : store::gameTableSchema().fields)
        if (def.name == kDatFieldNames[field]) return static_cast<std::size_t>(def.size);
    return 0;
}

// A text of the file as the field keeps it.
DatValue textValue(std::string_view utf8, DatField field) {
    DatValue value;
    int unaccented = 0;
    text::ExactText converted = text::fromUtf8Unaccented(utf8, unaccented);
    if (!converted.problem.empty()) {
        value.problem = converted.problem;
        return value;
    }
    value.unaccented = unaccented > 0;
    const std::size_t size = fieldSize(field);
    value.cut = converted.text.size() > size;
    value.text = value.cut ? cutAtWord(converted.text, size) : std::move(converted.text);
    return value;
}

// A whole number of the file for a 32-bit field.
DatValue numberValue(std::string_view text, std::string_view what) {
    DatValue value;
    std::int32_t number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        value.problem = std::string(what) + " " + quotedForReport(text) + " не целое число";
    else
        value.text = std::to_string(number);
    return value;
}

DatValue sizeValue(std::uint64_t bytes) {
    DatValue value;
    const std::uint64_t kib = bytes / kKiB + (bytes % kKiB != 0);
    if (kib > 32767)
        value.problem = std::to_string(kib) + " КиБ больше, чем вмещает поле (до 32767)";
    else
        value.text = std::to_string(kib);
    return value;
}

bool isLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || text::lower(c) != text::upper(c);
}

} // namespace

std::string cutAtWord(std::string_view text, std::size_t size) {
    if (text.size() <= size) return std::string(text);
    std::size_t end = size;
    if (text[size] != ' ') {
        const std::size_t space = text.substr(0, size).rfind(' ');
        if (space != std::string_view::npos && space > 0) end = space;
    }
    while (end > 0 && text[end - 1] == ' ') --end;
    return std::string(text.substr(0, end));
}

DatRecord datRecord(const DatGame& game, const Metadata* metadata) {
    DatRecord record;
    auto& values = record.values;
    int unaccented = 0;
    const text::ExactText shown = text::fromUtf8Unaccented(game.name, unaccented);
    record.datName = shown.problem.empty() ? shown.text : text::fromUtf8(game.name);
    values[Name] = textValue(tools::cleanname(game.name), Name);
    const std::string& name = values[Name].text;
    values[Sid].text = !name.empty() && isLetterOrDigit(name.front()) ? tools::sidof(name) : "num";
    RegionLetters region = gameRegion(game.name, game.region);
    values[Region].text = std::move(region.letters);
    record.unknownRegions = std::move(region.unknown);
    if (!game.romName.empty()) values[File] = textValue(game.romName, File);
    if (game.romSize) values[Size] = sizeValue(*game.romSize);
    if (!metadata) return record;
    if (metadata->publisher) values[Publisher] = textValue(*metadata->publisher, Publisher);
    if (metadata->developer) values[Developer] = textValue(*metadata->developer, Developer);
    if (metadata->releaseYear) values[Year] = numberValue(*metadata->releaseYear, "год");
    if (metadata->users) values[Ngamers] = numberValue(*metadata->users, "число игроков");
    if (metadata->genre) {
        const Classification classification = classifyGenre(*metadata->genre);
        values[Type].text = classification.type;
        if (!classification.genre.empty()) values[Genre] = textValue(classification.genre, Genre);
    }
    return record;
}

} // namespace gamarium::dat
