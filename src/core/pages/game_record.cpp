#include "core/pages/game_record.h"

#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <numeric>
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

// What a game record holds besides its texts, once they are copied.
struct NumberCopier {
    explicit NumberCopier(store::Table& games)
        : patch(games.field(store::games::Patch)), rating(games.field(store::games::Rating)) {}
    void copy(GameRecord& game) const {
        game.patchPosition = patch.asInteger();
        game.ratingValue = rating.asInteger();
        game.hasPatch = !game.patch.empty();
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

GameKeyReader::GameKeyReader(store::Table& games, const std::vector<store::FieldKey>& names)
    : patch_(games.field(store::games::Patch)), rating_(games.field(store::games::Rating)) {
    const auto at = [&](store::FieldKey name) {
        return static_cast<std::size_t>(std::find(names.begin(), names.end(), name) - names.begin());
    };
    sid_ = at(store::games::Sid);
    image1_ = at(store::games::Image1);
    analog_ = at(store::games::Analog);
    ratingAt_ = at(store::games::Rating);
    patchAt_ = at(store::games::Patch);
}

void GameKeyReader::read(std::span<const std::string_view> stored, GameKeys& game) const {
    game.sid = text::fromUtf8(stored[sid_]).bytes();
    game.image1 = text::fromUtf8(stored[image1_]).bytes();
    game.analog = text::fromUtf8(stored[analog_]).bytes();
    readNumbers(stored, game);
}

void GameKeyReader::readNumbers(std::span<const std::string_view> stored, GameKeys& game) const {
    game.patchPosition = patch_.asInteger(stored[patchAt_]);
    game.ratingValue = rating_.asInteger(stored[ratingAt_]);
    game.hasPatch = !stored[patchAt_].empty();
}

std::vector<GameKeys> readGameKeys(store::Table& games) {
    static const std::vector<store::FieldKey> names{store::games::Sid, store::games::Image1, store::games::Analog,
                                                   store::games::Patch, store::games::Rating};
    const GameKeyReader keys(games, names);
    std::vector<GameKeys> records;
    records.reserve(static_cast<std::size_t>(games.recordCount()));
    games.forEachStoredRecord(names, [&](std::size_t, std::span<const std::string_view> stored) {
        keys.read(stored, records.emplace_back());
    });
    return records;
}

std::vector<GameRecord> readGamesAt(store::Table& games, const std::vector<std::int64_t>& positions) {
    std::vector<GameRecord> records(positions.size());
    // Reading a record by itself costs about what a pass costs for eight.
    if (positions.size() * 8 < static_cast<std::size_t>(games.recordCount())) {
        std::vector<std::size_t> at;
        for (const std::int64_t position : positions)
            at.push_back(static_cast<std::size_t>(position - 1));
        const FieldCopier<GameRecord> copier(games, gameTextFields());
        const NumberCopier numbers(games);
        std::size_t next = 0;
        games.forRecordsAt(at, [&](std::size_t) {
            GameRecord& game = records[next++];
            copier.copy(game);
            numbers.copy(game);
        });
        return records;
    }
    // The pass meets the records in table order; a game may be on two pages.
    std::vector<std::size_t> byPosition(positions.size());
    std::iota(byPosition.begin(), byPosition.end(), 0);
    std::stable_sort(byPosition.begin(), byPosition.end(),
                     [&](std::size_t a, std::size_t b) { return positions[a] < positions[b]; });
    const TextFields<GameRecord>& columns = gameTextFields();
    std::vector<store::FieldKey> names;
    for (const auto& [name, member] : columns)
        names.push_back(name);
    const GameKeyReader keys(games, names);
    auto next = byPosition.begin();
    games.forEachStoredRecord(names, [&](std::size_t position, std::span<const std::string_view> stored) {
        for (; next != byPosition.end() && positions[*next] == static_cast<std::int64_t>(position) + 1; ++next) {
            GameRecord& game = records[*next];
            for (std::size_t field = 0; field < columns.size(); ++field)
                game.*columns[field].second = text::fromUtf8(stored[field]).bytes();
            keys.readNumbers(stored, game);
        }
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
