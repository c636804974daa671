#include "core/history/point_store.h"

#include "core/error.h"
#include "core/files/system.h"
#include "core/history/keeping_rules.h"
#include "core/history/picture_journal.h"
#include "core/store/catalogue.h"
#include "core/store/schema.h"
#include "core/store/sqlite.h"
#include "core/store/table_file.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <ctime>
#include <fstream>
#include <map>

namespace gamarium::history {
namespace fs = std::filesystem;
namespace {

constexpr const char* kDescription = "point.txt";
constexpr const char* kSettings = "settings.ini";

std::optional<int> idOf(const std::string& name) {
    int id = 0;
    const auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), id);
    if (ec != std::errc() || end != name.data() + name.size() || id <= 0 || name.front() == '0') return std::nullopt;
    return id;
}

std::uintmax_t sizeOf(const files::Path& file) {
    std::error_code ec;
    const auto size = fs::file_size(file, ec);
    return ec ? 0 : size;
}

std::uintmax_t folderSize(const files::Path& folder) {
    std::uintmax_t total = 0;
    std::error_code ec;
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) total += sizeOf(it->path());
    }
    return total;
}

std::uintmax_t tableFileSize(const files::Path& table) {
    files::Path journal = table;
    journal += "-wal";
    return sizeOf(table) + sizeOf(journal);
}

std::string tableText(const TableInPoint& table) {
    switch (table.kind) {
    case TableInPoint::Kind::Copied: return "copied " + std::to_string(table.records);
    case TableInPoint::Kind::None: return "none";
    case TableInPoint::Kind::LeftOut: return "left";
    }
    return "none";
}

std::optional<TableInPoint> tableFromText(const std::string& text) {
    if (text == "none") return TableInPoint{TableInPoint::Kind::None, 0};
    if (text == "left") return TableInPoint{TableInPoint::Kind::LeftOut, 0};
    if (!text.starts_with("copied ")) return std::nullopt;
    TableInPoint table{TableInPoint::Kind::Copied, 0};
    const auto [end, ec] = std::from_chars(text.data() + 7, text.data() + text.size(), table.records);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return table;
}

// The action's words on one line.
std::string oneLine(const std::string& what) {
    std::string line = what;
    for (char& c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
    return line;
}

void writeDescription(const files::Path& file, const Point& point) {
    {
        std::ofstream out(file, std::ios::binary);
        out << "time=" << point.time << "\nwhat=" << oneLine(point.what) << "\ngames=" << tableText(point.games)
            << "\npatches=" << tableText(point.patches) << "\ntables=" << point.tablesSize << '\n';
        out.flush();
        if (!out) throw Error("не удаётся записать описание точки (нет места на диске?)");
    }
}

std::optional<Point> readDescription(const files::Path& folder, int id) {
    std::map<std::string, std::string> values;
    try {
        const std::string content = files::readFile(folder / kDescription, 1 << 16);
        for (std::size_t start = 0, end; (end = content.find('\n', start)) != std::string::npos; start = end + 1) {
            const std::string line = content.substr(start, end - start);
            const std::size_t equals = line.find('=');
            if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
        }
    } catch (const Error&) {
        return std::nullopt;
    }
    Point point;
    point.id = id;
    point.folder = folder;
    point.what = values["what"];
    const auto number = [&](const char* key, auto& target) {
        const std::string& text = values[key];
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), target);
        return ec == std::errc() && end == text.data() + text.size() && !text.empty();
    };
    const auto games = tableFromText(values["games"]), patches = tableFromText(values["patches"]);
    if (!number("time", point.time) || !number("tables", point.tablesSize) || !games || !patches) return std::nullopt;
    point.games = *games;
    point.patches = *patches;
    return point;
}

void copyTable(const PointSource& source, const files::Path& file, TableInPoint& table) {
    table.kind = kindOf(source);
    if (!source.held) return;
    source.held->copyTo(file);
    {
        // Whether every page is sound is asked when the point is restored.
        const auto copy = store::openCopy(file);
        store::sqlite::Statement count(*copy, "SELECT count(*) FROM records");
        table.records = count.step() ? count.intAt(0) : 0;
    }
}

bool sameLayout(const store::TableSchema& a, const store::TableSchema& b) {
    return std::equal(a.fields.begin(), a.fields.end(), b.fields.begin(), b.fields.end(),
                      [](const store::FieldDef& x, const store::FieldDef& y) {
                          return x.name == y.name && x.type == y.type && x.size == y.size;
                      });
}

files::Path historyFolder(const files::Path& home) {
    return files::findNoCase(store::basesFolder(home), "history"_stored);
}

} // namespace

std::int64_t systemTime() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

TableInPoint::Kind kindOf(const PointSource& source) {
    if (source.held) return TableInPoint::Kind::Copied;
    return source.unreadable ? TableInPoint::Kind::LeftOut : TableInPoint::Kind::None;
}

std::string localTimeText(std::int64_t time) {
    const auto seconds = static_cast<std::time_t>(time);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

PointStore::PointStore(files::Path home, std::string base, Clock clock)
    : home_(std::move(home)), base_(std::move(base)), clock_(std::move(clock)) {
    store::validateBaseName(base_);
    folder_ = files::findNoCase(historyFolder(home_), text::StoredText::fromCp1251(text::lower(base_)));
}

files::Path PointStore::liveGames() const {
    return files::findNoCase(store::basesFolder(home_), text::StoredText::fromCp1251(store::gameTableName(text::lower(base_))));
}

files::Path PointStore::livePatches() const {
    return files::findNoCase(store::basesFolder(home_), text::StoredText::fromCp1251(store::patchTableName(text::lower(base_))));
}

std::vector<int> PointStore::folderIds() const {
    std::vector<int> found;
    std::error_code ec;
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        const auto id = idOf(files::nameText(it->path()).bytes());
        if (id && it->is_directory(typeError)) found.push_back(*id);
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::pair<int, std::optional<Point>>> PointStore::folders() const {
    std::vector<std::pair<int, std::optional<Point>>> found;
    for (const int id : folderIds()) found.emplace_back(id, readDescription(folder_ / std::to_string(id), id));
    return found;
}

std::vector<Point> PointStore::points() const {
    std::vector<Point> found;
    for (auto& [id, point] : folders())
        if (point) found.push_back(std::move(*point));
    return found;
}

std::vector<int> PointStore::damagedPoints() const {
    std::vector<int> found;
    for (const auto& [id, point] : folders())
        if (!point) found.push_back(id);
    return found;
}

Point PointStore::point(int id) const {
    for (auto& [found, point] : folders()) {
        if (found != id) continue;
        if (point) return std::move(*point);
        throw Error(damagedText(id));
    }
    throw Error("Точки восстановления " + std::to_string(id) + " у базы «" + text::toUtf8(text::StoredText::fromCp1251(base_)) + "» нет.");
}

std::string PointStore::damagedText(int id) const {
    return "Точка восстановления " + std::to_string(id) + " повреждена: не читается её описание «" +
           shownPath(home_, folder_ / std::to_string(id) / kDescription) + "».";
}

files::Path PointStore::journalOf(int id) const {
    return folder_ / std::to_string(id) / kJournalName;
}

Point PointStore::take(const std::string& what, const PointSource& games, const PointSource& patches) {
    // Settings that cannot be read stop the command before anything changes.
    readKeepingRules(historyFolder(home_) / kSettings);
    std::error_code ec;
    fs::create_directories(folder_, ec);
    if (ec)
        throw Error("Точка восстановления не создана, база не изменена: нет папки «" + shownPath(home_, folder_) +
                    "» (" + ec.message() + ").");
    // What a killed run left half-built.
    for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec))
        if (files::isTemporaryName(files::nameText(it->path()).bytes())) {
            std::error_code removeError;
            fs::remove_all(it->path(), removeError);
        }
    // After every folder named as a point, a damaged one too.
    const std::vector<int> existing = folderIds();
    Point point;
    point.id = existing.empty() ? 1 : existing.back() + 1;
    const files::Path building = files::temporaryFor(folder_ / std::to_string(point.id));
    try {
        if (!fs::create_directory(building, ec)) throw Error(ec.message());
        point.time = clock_();
        point.what = what;
        copyTable(games, building / "games.db", point.games);
        copyTable(patches, building / "patches.db", point.patches);
        point.tablesSize = tableFileSize(liveGames()) + tableFileSize(livePatches());
        writeDescription(building / kDescription, point);
        point.folder = folder_ / std::to_string(point.id);
        fs::rename(building, point.folder, ec);
        if (ec) throw Error(ec.message());
    } catch (const Error& e) {
        fs::remove_all(building, ec);
        throw Error(std::string("Точка восстановления не создана, база не изменена: ") + e.what());
    }
    return point;
}

std::vector<std::string> PointStore::keepWithinRules() const {
    const KeepingRules rules = readKeepingRules(historyFolder(home_) / kSettings);
    std::vector<KeptPoint> kept;
    const std::vector<Point> all = points();
    for (const Point& point : all) kept.push_back({point.id, point.time, folderSize(point.folder), point.tablesSize});
    const std::uintmax_t tablesSize = tableFileSize(liveGames()) + tableFileSize(livePatches());
    const RemovedPoints removed = pointsToRemove(kept, tablesSize, rules, clock_());
    std::vector<std::string> lines;
    const auto remove = [&](const std::vector<int>& ids, const std::string& why) {
        if (ids.empty()) return;
        std::string line = ids.size() == 1 ? "Удалена точка восстановления " : "Удалены точки восстановления ";
        for (std::size_t i = 0; i < ids.size(); ++i) {
            line += (i == 0 ? "" : ", ") + std::to_string(ids[i]);
            std::error_code ec;
            fs::remove_all(folder_ / std::to_string(ids[i]), ec);
        }
        lines.push_back(line + ": " + why + ".");
    };
    remove(removed.old, "старше " + std::to_string(rules.days) + " дн. и не среди последних " + std::to_string(rules.points) +
                            " (" + shownPath(home_, historyFolder(home_) / kSettings) + ")");
    remove(removed.oversize, "все точки базы вместе были больше " + std::to_string(rules.sizeFactor) +
                                 " размеров её таблиц, " + std::to_string((removed.limit + (1 << 20) - 1) >> 20) +
                                 " МБ (" + shownPath(home_, historyFolder(home_) / kSettings) + ")");
    return lines;
}

void PointStore::verify(const Point& point) const {
    const std::pair<const TableInPoint*, std::pair<files::Path, const store::TableSchema*>> tables[] = {
        {&point.games, {point.gamesFile(), &store::gameTableSchema()}},
        {&point.patches, {point.patchesFile(), &store::patchTableSchema()}}};
    const std::string which = "Точка восстановления " + std::to_string(point.id);
    for (const auto& [table, file] : tables) {
        if (table->kind != TableInPoint::Kind::Copied) continue;
        std::unique_ptr<store::sqlite::Database> copy;
        try {
            copy = store::openCheckedCopy(file.first);
        } catch (const Error& e) {
            throw Error(which + " повреждена, восстановление отменено: " + e.what());
        }
        if (!sameLayout(store::readSchema(*copy), *file.second))
            throw Error(which + " хранит таблицы другого устройства (другие поля), восстановление отменено.");
    }
    readJournal(home_, point.journalFile());
}

} // namespace gamarium::history
