#pragma once

#include "core/dat/dat_game.h"
#include "core/store/record_fields.h"

#include <array>
#include <string>
#include <string_view>

// What a DAT game becomes in the game table.
namespace gamarium::dat {

// The fields a DAT game fills, in the game table's field order; every
// other field stays empty.
enum DatField { Sid, Name, Region, Publisher, Developer, Year, Ngamers, Type, Genre, File, Size, kDatFieldCount };

inline constexpr std::array<store::FieldKey, kDatFieldCount> kDatFields = {
    store::games::Sid,       store::games::Name, store::games::Region,  store::games::Publisher,
    store::games::Developer, store::games::Year, store::games::Ngamers, store::games::Type,
    store::games::Genre,     store::games::File, store::games::Size};

// One field's value as it is stored (a number as decimal text), and what
// became of the file's text on the way.
struct DatValue {
    std::string text;        // Windows-1251; empty when there is nothing to store
    bool unaccented = false; // Latin letters written without their accents
    bool cut = false;        // cut to the field's size, at a word boundary where there is one
    std::string problem;     // why a value the file gives is left out (UTF-8)
};

using DatRecord = std::array<DatValue, kDatFieldCount>;

// A field of the record of a DAT game with its metadata (none when
// `metadata` is null): Name by cleanname, Region by the region table, Sid by
// sidof ("num" for a name that begins with neither a letter nor a digit),
// File and Size (KiB, rounded up) from the first ROM, Publisher, Developer,
// Year and Ngamers from the metadata, Type and Genre by the genre table.
DatValue datValue(const DatGame& game, const Metadata* metadata, DatField field);

// The picture folder of a game named `name` (Windows-1251): sidof, or "num"
// for a name that begins with neither a letter nor a digit; never a path
// separator or a dot.
std::string sidOfName(std::string_view name);

// Every field of the record of a DAT game.
DatRecord datRecord(const DatGame& game, const Metadata* metadata);

// The game's name in the DAT for a report: in «quotes», UTF-8, as the DAT
// spells it (control characters escaped).
std::string reportName(const DatGame& game);

// `text` cut to `size` characters at the last space that leaves a word
// whole, or at `size` when there is none; trailing spaces go.
std::string cutAtWord(std::string_view text, std::size_t size);

} // namespace gamarium::dat
