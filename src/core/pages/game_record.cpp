#include "core/pages/game_record.h"

#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <utility>

namespace gamarium::pages {
namespace {

// Copies the named fields of the table's record into a record's members;
// the fields are looked up by name once, not for every record.
template <typename Record>
class FieldCopier {
public:
    FieldCopier(store::Table& table, const TextFields<Record>& columns) {
        for (const auto& [key, member] : columns) {
            fields_.emplace_back(&table.field(key), member);
            keys_.push_back(key);
        }
    }
    const std::vector<store::FieldKey>& keys() const { return keys_; }
    void copy(Record& record) const {
        for (const auto& [field, member] : fields_)
            record.*member = field->asString().bytes();
    }

private:
    std::vector<std::pair<const store::Field*, std::string Record::*>> fields_;
    std::vector<store::FieldKey> keys_;
};

// Reads the table in one pass, each named field into its member.
template <typename Record, typename Extra>
std::vector<Record> readRecords(store::Table& table, const TextFields<Record>& columns, Extra readExtra) {
    const FieldCopier<Record> copier(table, columns);
    std::vector<Record> records;
    records.reserve(static_cast<std::size_t>(table.recordCount()));
    table.forEachRecord(copier.keys(), [&](std::size_t) {
        Record& record = records.emplace_back();
        copier.copy(record);
        readExtra(record);
    });
    return records;
}

// The numbers a game record holds besides its texts.
struct NumberCopier {
    explicit NumberCopier(store::Table& games)
        : patch(games.field(store::games::Patch)), rating(games.field(store::games::Rating)) {}
    void copy(GameRecord& game) const {
        game.patchPosition = patch.asInteger();
        game.ratingValue = rating.asInteger();
    }
    const store::Field& patch;
    const store::Field& rating;
};

} // namespace

const TextFields<GameRecord>& gameTextFields() {
    namespace g = store::games;
    static const TextFields<GameRecord> fields{
        {g::Name, &GameRecord::name},           {g::Region, &GameRecord::region}, {g::Text1, &GameRecord::text1},
        {g::Drname, &GameRecord::drname},       {g::Analog, &GameRecord::analog}, {g::Sid, &GameRecord::sid},
        {g::Image1, &GameRecord::image1},       {g::Publisher, &GameRecord::publisher},
        {g::Developer, &GameRecord::developer}, {g::Year, &GameRecord::year},     {g::Type, &GameRecord::type},
        {g::Genre, &GameRecord::genre},         {g::Ngamers, &GameRecord::ngamers}, {g::Size, &GameRecord::size},
        {g::File, &GameRecord::file},           {g::Rating, &GameRecord::rating}, {g::Patch, &GameRecord::patch},
    };
    return fields;
}

const TextFields<PatchRecord>& patchTextFields() {
    namespace p = store::patches;
    static const TextFields<PatchRecord> fields{
        {p::Patch, &PatchRecord::patch}, {p::Size, &PatchRecord::size},   {p::Proc, &PatchRecord::proc},
        {p::Text, &PatchRecord::language}, {p::Autor, &PatchRecord::autor}, {p::Year, &PatchRecord::year},
    };
    return fields;
}

std::vector<GameRecord> readGames(store::Table& games) {
    const NumberCopier numbers(games);
    return readRecords(games, gameTextFields(), [&](GameRecord& game) { numbers.copy(game); });
}

void readGamesAt(store::Table& games, const std::vector<std::int64_t>& positions, std::vector<GameRecord>& records) {
    std::vector<std::size_t> at;
    for (const std::int64_t position : positions)
        at.push_back(static_cast<std::size_t>(position - 1));
    const FieldCopier<GameRecord> copier(games, gameTextFields());
    const NumberCopier numbers(games);
    games.forRecordsAt(at, [&](std::size_t position) {
        GameRecord& game = records.at(position);
        copier.copy(game);
        numbers.copy(game);
    });
}

GameKeyReader::GameKeyReader(store::Table& games, const std::vector<store::FieldKey>& names)
    : patch_(games.field(store::games::Patch)), rating_(games.field(store::games::Rating)) {
    const auto at = [&](store::FieldKey name) {
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    sid_ = at(store::games::Sid);
    image1_ = at(store::games::Image1);
    patchAt_ = at(store::games::Patch);
    ratingAt_ = at(store::games::Rating);
}

void GameKeyReader::read(std::span<const std::string_view> stored, GameRecord& game) const {
    game.sid = text::fromUtf8(stored[sid_]).bytes();
    game.image1 = text::fromUtf8(stored[image1_]).bytes();
    game.patch = text::fromUtf8(stored[patchAt_]).bytes();
    game.rating = text::fromUtf8(stored[ratingAt_]).bytes();
    game.patchPosition = patch_.asInteger(stored[patchAt_]);
    game.ratingValue = rating_.asInteger(stored[ratingAt_]);
}

std::vector<GameRecord> readGameKeys(store::Table& games) {
    static const std::vector<store::FieldKey> names{store::games::Sid, store::games::Image1, store::games::Patch,
                                                   store::games::Rating};
    const GameKeyReader keys(games, names);
    std::vector<GameRecord> records;
    records.reserve(static_cast<std::size_t>(games.recordCount()));
    games.forEachStoredRecord(names, [&](std::size_t, std::span<const std::string_view> stored) {
        keys.read(stored, records.emplace_back());
    });
    return records;
}

// The patches' texts go straight from the table file into the records.
std::vector<PatchRecord> readPatches(store::Table& patches) {
    const TextFields<PatchRecord>& columns = patchTextFields();
    std::vector<store::FieldKey> keys;
    for (const auto& [key, member] : columns) keys.push_back(key);
    std::vector<PatchRecord> records;
    records.reserve(static_cast<std::size_t>(patches.recordCount()));
    patches.forEachStoredRecord(keys, [&](std::size_t, std::span<const std::string_view> stored) {
        PatchRecord& record = records.emplace_back();
        for (std::size_t i = 0; i < columns.size(); ++i)
            record.*columns[i].second = text::fromUtf8(stored[i]).bytes();
    });
    return records;
}

const PatchRecord& patchAt(const std::vector<PatchRecord>& patches, std::int64_t position) {
    static const PatchRecord none;
    if (patches.empty())
        return none;
    const auto last = static_cast<std::int64_t>(patches.size());
    return patches[static_cast<std::size_t>(std::clamp<std::int64_t>(position, 1, last) - 1)];
}

bool isRussian(std::string_view language) {
    return language.size() >= 2 && language[1] == 'r';
}

} // namespace gamarium::pages
