#include "core/dat/dat_record.h"

#include "core/dat/genres.h"
#include "core/dat/regions.h"
#include "core/store/schema.h"
#include "core/text/cp1251.h"
#include "core/text/exact_conversion.h"
#include "core/text/printable.h"
#include "core/tools/list_file.h"
#include "core/tools/rename.h"

#include <algorithm>
#include <charconv>

namespace gamarium::dat {
namespace {

constexpr std::uint64_t kKiB = 1024;

std::size_t fieldSize(DatField field) {
    static const std::array<std::size_t, kDatFieldCount> sizes = [] {
        std::array<std::size_t, kDatFieldCount> found{};
        for (const store::FieldDef& def : store::gameTableSchema().fields)
            for (int f = 0; f < kDatFieldCount; ++f)
                if (def.name == kDatFields[f].name()) found[f] = static_cast<std::size_t>(def.size);
        return found;
    }();
    return sizes[field];
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
    // A plain form may be a space (an ideographic one at the start of a
    // name) or hold a slash ("½" is "1/2"), which a file name cannot.
    std::string plain = converted.text.bytes();
    plain.erase(0, plain.find_first_not_of(' '));
    plain.erase(plain.find_last_not_of(' ') + 1);
    if (field == File) std::replace_if(plain.begin(), plain.end(), [](char c) { return c == '/' || c == '\\'; }, '_');
    const std::size_t size = fieldSize(field);
    value.cut = plain.size() > size;
    value.text = value.cut ? cutAtWord(plain, size) : plain;
    return value;
}

// A whole number of the file for a 32-bit field.
DatValue numberValue(std::string_view text, std::string_view what) {
    DatValue value;
    std::int32_t number = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        value.problem = std::string(what) + " " + text::quoted(text) + " не целое число";
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

std::string sidOfName(std::string_view name) {
    if (name.empty() || !isLetterOrDigit(name.front())) return "num";
    return tools::sidof(text::StoredText::fromCp1251(name)).bytes();
}

DatValue datValue(const DatGame& game, const Metadata* metadata, DatField field) {
    DatValue value;
    const auto from = [&](const std::optional<std::string> Metadata::*member) {
        return metadata && metadata->*member ? &*(metadata->*member) : nullptr;
    };
    switch (field) {
    case Sid: value.text = sidOfName(datValue(game, metadata, Name).text); break;
    case Name: value = textValue(tools::cleanname(game.name), Name); break;
    case Region: value.text = gameRegion(game.name, game.region).letters; break;
    case File:
        if (!game.romName.empty()) value = textValue(game.romName, File);
        break;
    case Size:
        if (game.romSize) value = sizeValue(*game.romSize);
        break;
    case Publisher:
    case Developer:
        if (const std::string* text = from(field == Publisher ? &Metadata::publisher : &Metadata::developer))
            value = textValue(*text, field);
        break;
    case Year:
        if (const std::string* text = from(&Metadata::releaseYear)) value = numberValue(*text, "год");
        break;
    case Ngamers:
        if (const std::string* text = from(&Metadata::users)) value = numberValue(*text, "число игроков");
        break;
    case Type:
    case Genre:
        if (const std::string* text = from(&Metadata::genre)) {
            const Classification classification = classifyGenre(*text);
            if (field == Type)
                value.text = classification.type;
            else if (!classification.genre.empty())
                value = textValue(classification.genre, Genre);
        }
        break;
    case kDatFieldCount: break;
    }
    return value;
}

DatRecord datRecord(const DatGame& game, const Metadata* metadata) {
    DatRecord record;
    for (int f = 0; f < kDatFieldCount; ++f) record[f] = datValue(game, metadata, static_cast<DatField>(f));
    return record;
}

std::string reportName(const DatGame& game) {
    return text::quoted(game.name, std::string::npos);
}

} // namespace gamarium::dat
