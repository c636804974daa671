#include "core/dat/dat_import.h"

#include "core/dat/dat_record.h"
#include "core/dat/regions.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"
#include "core/text/printable.h"
#include "core/tools/checks.h"
#include "core/tools/renumber.h"

#include <algorithm>
#include <bitset>
#include <deque>
#include <unordered_map>

namespace gamarium::dat {
namespace {

// A record of the table as it will be: one read from the table (with its
// position there) or one the import adds. Only what matching, ordering and
// writing need is kept.
struct Planned {
    std::string name, region; // Windows-1251, as DatValue::text
    std::int64_t n = 0;
    int position = -1;                     // 0-based place in the table as read; -1 for a new record
    std::bitset<kDatFieldCount> present;   // fields that hold a value
    std::vector<std::pair<DatField, std::string>> writes; // what the import stores in it
};

using DatFields = std::array<store::Field*, kDatFieldCount>;

DatFields datFields(store::Table& games) {
    DatFields fields;
    for (int f = 0; f < kDatFieldCount; ++f) fields[f] = &games.field(kDatFields[f]);
    return fields;
}

std::string nameKey(const std::string& name, const std::string& region) {
    return name + '\0' + region;
}

class Plan {
public:
    Plan(store::Table& games, std::size_t datGames, const tools::ReportSink& report, bool dryRun)
        : report_(report), dryRun_(dryRun) {
        const std::size_t most = static_cast<std::size_t>(games.recordCount()) + datGames;
        records_.reserve(most);
        byFile_.reserve(most);
        std::vector<store::FieldKey> fields = {store::games::N};
        fields.insert(fields.end(), kDatFields.begin(), kDatFields.end());
        const DatFields read = datFields(games);
        const store::Field& n = games.field(store::games::N);
        games.forEachRecord(fields, [&](std::size_t position) {
            Planned record;
            record.position = static_cast<int>(position);
            record.n = n.asInteger();
            record.name = read[Name]->asString().bytes();
            record.region = read[Region]->asString().bytes();
            for (int f = 0; f < kDatFieldCount; ++f) record.present[f] = !read[f]->isNull();
            remember(records_.size(), record, read[File]->asString().bytes());
            records_.push_back(std::move(record));
        });
        existing_ = records_.size();
    }

    // Matches the game by its ROM's name first, working out only the
    // fields its record lacks, else by its name and region.
    void take(const DatGame& game, const MetadataByCrc& metadata) {
        const Metadata* said = game.crc ? metadata.find(*game.crc) : nullptr;
        if (const std::string file = datValue(game, said, File).text; !file.empty())
            if (const auto it = byFile_.find(text::lower(file)); it != byFile_.end())
                return fill(it->second, game, [&](DatField f) { return datValue(game, said, f); });
        const DatRecord record = datRecord(game, said);
        if (const std::optional<std::size_t> match = byName(record))
            return fill(*match, game, [&](DatField f) { return record[f]; });
        // A record that nothing would find again is never made.
        if (!record[Name].problem.empty() || (record[Name].text.empty() && record[File].text.empty())) {
            ++result_.skipped;
            report_(head(game, Name) + "игра пропущена: " +
                    (record[Name].problem.empty() ? std::string("нет ни названия, ни файла ROM") : record[Name].problem));
            return;
        }
        Planned added;
        added.name = record[Name].text;
        added.region = record[Region].text;
        for (int f = 0; f < kDatFieldCount; ++f) {
            note(game, record[f], static_cast<DatField>(f));
            if (record[f].text.empty()) continue;
            added.present[f] = true;
            added.writes.emplace_back(static_cast<DatField>(f), record[f].text);
        }
        if (dryRun_) report_("добавится: " + shown(added));
        remember(records_.size(), added, record[File].text);
        records_.push_back(std::move(added));
        ++result_.added;
    }

    std::size_t size() const { return records_.size(); }
    std::size_t existing() const { return existing_; }
    const std::vector<Planned>& records() const { return records_; }
    DatImportResult& result() { return result_; }

private:
    // Where a record can be found by the games that follow.
    void remember(std::size_t index, const Planned& record, const std::string& file) {
        if (!file.empty())
            byFile_.emplace(text::lower(file), index);
        else if (!record.name.empty())
            byName_[nameKey(record.name, record.region)].push_back(index);
    }

    std::optional<std::size_t> byName(const DatRecord& record) {
        if (record[Name].text.empty()) return std::nullopt;
        const auto it = byName_.find(nameKey(record[Name].text, record[Region].text));
        if (it == byName_.end() || it->second.empty()) return std::nullopt;
        const std::size_t index = it->second.front();
        it->second.pop_front();
        return index;
    }

    // Gives a matched record the fields it lacks.
    template <typename ValueOf>
    void fill(std::size_t index, const DatGame& game, ValueOf valueOf) {
        Planned& known = records_[index];
        std::string fields;
        const std::size_t writes = known.writes.size();
        for (int f = 0; f < kDatFieldCount; ++f) {
            if (known.present[f]) continue;
            // The picture folder follows the name the record keeps.
            DatValue value;
            if (f == Sid && known.present[Name])
                value.text = sidOfName(known.name);
            else
                value = valueOf(static_cast<DatField>(f));
            note(game, value, static_cast<DatField>(f));
            if (value.text.empty()) continue;
            if (f == Name) known.name = value.text;
            if (f == Region) known.region = value.text;
            if (f == File) remember(index, known, value.text);
            known.present[f] = true;
            known.writes.emplace_back(static_cast<DatField>(f), std::move(value.text));
            fields += (fields.empty() ? "" : ", ") + std::string(kDatFields[f].name());
        }
        // A game that matches one added before it (a ROM named twice in the
        // DAT) adds no record of its own: it counts as unchanged.
        if (fields.empty() || known.position < 0) ++result_.unchanged;
        if (fields.empty()) return;
        if (known.position >= 0 && writes == 0) ++result_.filled;
        if (dryRun_ && known.position >= 0)
            report_("дополнится: " + shown(known) + ", место " + std::to_string(known.position + 1) + ": " + fields);
    }

    // A record as a dry run names it: its name and, since regional versions
    // share one, its region letters.
    static std::string shown(const Planned& record) {
        const std::string name = text::printable(text::toUtf8(text::StoredText::fromCp1251(record.name)), std::string::npos);
        return record.region.empty() ? name : name + " (" + text::toUtf8(text::StoredText::fromCp1251(record.region)) + ")";
    }

    // "«Game (Japan)», Name: ", the start of a line about one field.
    static std::string head(const DatGame& game, DatField f) {
        return reportName(game) + ", " + std::string(kDatFields[f].name()) + ": ";
    }

    // Reports what became of a field's text on its way into an empty field.
    void note(const DatGame& game, const DatValue& value, DatField f) {
        if (!value.unaccented && !value.cut && value.problem.empty() && f != Region) return;
        if (value.unaccented) {
            ++result_.unaccented;
            report_(head(game, f) + "без диакритики " + text::quoted(text::toUtf8(text::StoredText::fromCp1251(value.text)), std::string::npos));
        }
        if (value.cut) {
            ++result_.cut;
            report_(head(game, f) + "обрезано до " + text::quoted(text::toUtf8(text::StoredText::fromCp1251(value.text)), std::string::npos));
        }
        if (!value.problem.empty()) {
            ++result_.leftEmpty;
            report_(head(game, f) + "оставлено пустым: " + value.problem);
        }
        if (f == Region)
            for (const std::string& word : gameRegion(game.name, game.region).unknown)
                report_(head(game, f) + "слова " + text::quoted(word) + " нет в таблице регионов");
    }

    const tools::ReportSink& report_;
    bool dryRun_;
    std::vector<Planned> records_;
    std::size_t existing_ = 0;
    std::unordered_map<std::string, std::size_t> byFile_;
    std::unordered_map<std::string, std::deque<std::size_t>> byName_;
    DatImportResult result_;
};

// How many of the sorted `keys` do not sort after `key`: the place after
// every equal name, found by halving as the name check orders names.
std::size_t placeOf(const std::vector<std::string>& keys, const std::string& key) {
    std::size_t low = 0, high = keys.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (tools::sortsBefore(key, keys[middle]))
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

struct Insertion {
    std::size_t place; // among the records read: before the record there
    std::string key;
    std::size_t index; // in the plan
};

void writeFields(const DatFields& fields, const Planned& record) {
    for (const auto& [field, value] : record.writes) fields[field]->setAsString(text::StoredText::fromCp1251(value));
}

} // namespace

DatImportResult importDat(store::Table& games, const DatContents& dat, const tools::ReportSink& report, bool dryRun,
                          const tools::Progress& progress) {
    Plan plan(games, dat.games.size(), report, dryRun);
    for (const DatGame& game : dat.games) plan.take(game, dat.metadata);
    DatImportResult& result = plan.result();
    if (plan.size() > kMostGames)
        throw Error("в таблице стало бы " + std::to_string(plan.size()) + " игр, а она вмещает " +
                    std::to_string(kMostGames) + "; ничего не изменено");
    if (dryRun || (result.added == 0 && result.filled == 0)) return result;

    const std::vector<Planned>& records = plan.records();
    std::vector<std::string> keys;
    keys.reserve(plan.existing());
    for (std::size_t i = 0; i < plan.existing(); ++i) keys.push_back(text::lowerLatin(records[i].name));
    std::vector<Insertion> insertions;
    for (std::size_t i = plan.existing(); i < records.size(); ++i) {
        std::string key = text::lowerLatin(records[i].name);
        insertions.push_back({placeOf(keys, key), std::move(key), i});
    }
    std::stable_sort(insertions.begin(), insertions.end(), [](const Insertion& a, const Insertion& b) {
        return a.place != b.place ? a.place < b.place : tools::sortsBefore(a.key, b.key);
    });
    // N follows the positions afterwards only if it did for every record
    // read, counting the records inserted before it.
    bool inStep = true;
    for (std::size_t i = 0, before = 0; i < plan.existing(); ++i) {
        while (before < insertions.size() && insertions[before].place <= i) ++before;
        inStep = inStep && records[i].n == static_cast<std::int64_t>(i + before + 1);
    }

    const int total = result.filled + result.added;
    int done = 0;
    const DatFields fields = datFields(games);
    store::Field& n = games.field(store::games::N);
    games.runAsOneTransaction([&] {
        for (std::size_t i = 0; i < plan.existing(); ++i) {
            if (records[i].writes.empty()) continue;
            games.moveToPosition(records[i].position + 1);
            games.edit();
            writeFields(fields, records[i]);
            games.post();
            if (progress) progress(++done, total);
        }
        for (std::size_t k = 0; k < insertions.size(); ++k) {
            const std::size_t position = insertions[k].place + k; // 0-based, final: later ones go after it
            if (position >= static_cast<std::size_t>(games.recordCount())) {
                games.append();
            } else {
                games.moveToPosition(static_cast<std::int64_t>(position) + 1);
                games.insert();
            }
            n.setAsInteger(static_cast<std::int64_t>(position) + 1);
            writeFields(fields, records[insertions[k].index]);
            games.post();
            if (progress) progress(++done, total);
        }
        if (!inStep && !insertions.empty()) tools::renumber(games);
    });
    if (!insertions.empty()) {
        result.firstAdded = static_cast<int>(insertions.front().place) + 1;
        games.moveToPosition(result.firstAdded);
    }
    return result;
}

std::string conversionsLine(const DatImportResult& result) {
    return "без диакритики: " + std::to_string(result.unaccented) + ", обрезано: " + std::to_string(result.cut) +
           ", оставлено пустым: " + std::to_string(result.leftEmpty);
}

std::string countsLine(const DatImportResult& result, bool dryRun) {
    std::string line = std::string(dryRun ? "Пробный прогон, ничего не изменено. " : "") +
                       "Добавлено: " + std::to_string(result.added) + ", дополнено: " + std::to_string(result.filled) +
                       ", без изменений: " + std::to_string(result.unchanged);
    if (result.skipped > 0) line += ", пропущено: " + std::to_string(result.skipped);
    return line;
}

} // namespace gamarium::dat
