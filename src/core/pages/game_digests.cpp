#include "core/pages/game_digests.h"

#include "core/files/system.h"
#include "core/pages/cache_file.h"
#include "core/store/sqlite.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace gamarium::pages {
namespace {

namespace sqlite = store::sqlite;

const CacheKind kDigests{
    .applicationId = 0x47444731, // "GDG1"
    .version = 1,
    .tables = "CREATE TABLE games(program BLOB NOT NULL, size INTEGER NOT NULL, changed INTEGER NOT NULL,"
              " identity INTEGER NOT NULL, count INTEGER NOT NULL, data BLOB NOT NULL)",
};

// What the keys and digests are made by; raise it when they come to be
// made otherwise.
const std::string kProgram = std::string(GAMARIUM_VERSION) + "/1";

// A file system stamps a change with a clock of some milliseconds or, on
// some disks, two seconds: a table changed again within that time may keep
// its stamp. A table changed this recently is read, not trusted.
constexpr std::chrono::seconds kSettled{5};

// The stamp of the table's file when it alone holds the table: nothing
// waits in its journal.
std::optional<files::FileStamp> tableStamp(store::Table& games) {
    files::Path journal = games.database().file();
    journal += "-wal";
    if (const auto waiting = files::fileStamp(journal); waiting && waiting->size > 0)
        return std::nullopt;
    return files::fileStamp(games.database().file());
}

bool settled(const files::FileStamp& stamp) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::nanoseconds(stamp.changed) + kSettled < now;
}

// The keys and digests as one blob: per game, its three texts each after
// its length, its two numbers, whether it has a patch, and its digest.
class Writer {
public:
    void add(const GameKeys& game, const InputHash::Digest& digest) {
        for (const std::string* text : {&game.sid, &game.image1, &game.analog}) {
            put(static_cast<std::uint32_t>(text->size()));
            bytes_ += *text;
        }
        put(game.patchPosition);
        put(game.ratingValue);
        bytes_ += static_cast<char>(game.hasPatch ? 1 : 0);
        bytes_.append(reinterpret_cast<const char*>(digest.data()), digest.size());
    }
    const std::string& bytes() const { return bytes_; }

private:
    template <typename Number>
    void put(Number number) {
        bytes_.append(reinterpret_cast<const char*>(&number), sizeof number);
    }
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}
    void next(GameKeys& game, InputHash::Digest& digest) {
        for (std::string* text : {&game.sid, &game.image1, &game.analog})
            *text = take(get<std::uint32_t>());
        game.patchPosition = get<std::int64_t>();
        game.ratingValue = get<std::int64_t>();
        game.hasPatch = take(1) != std::string_view("\0", 1);
        const std::string_view stored = take(digest.size());
        std::memcpy(digest.data(), stored.data(), digest.size());
    }
    bool done() const { return rest_.empty(); }

private:
    std::string_view take(std::size_t size) {
        if (rest_.size() < size)
            throw std::runtime_error("the digests end too soon");
        const std::string_view taken = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return taken;
    }
    template <typename Number>
    Number get() {
        Number number;
        std::memcpy(&number, take(sizeof number).data(), sizeof number);
        return number;
    }
    std::string_view rest_;
};

} // namespace

files::Path gameDigestsFile(const files::Path& home, std::string_view base) {
    return cacheFolder(home) / files::toPath(text::StoredText::fromCp1251(text::lower(base) + ".digests"));
}

GameDigests::GameDigests(store::Table& games, const files::Path& home, std::string_view base,
                         std::vector<GameKeys>& keys,
                         const std::function<void(std::int64_t position, const GameKeys& keys)>& read) {
    const std::optional<files::FileStamp> stamp = tableStamp(games);
    const auto count = static_cast<std::size_t>(games.recordCount());
    bool kept = false;
    CacheFile cache(gameDigestsFile(home, base), kDigests, [&](sqlite::Database& db) {
        if (!stamp)
            return;
        sqlite::Statement row(db, "SELECT program, size, changed, identity, count, data FROM games");
        if (!row.step() || row.textViewAt(0) != kProgram || static_cast<std::uint64_t>(row.intAt(1)) != stamp->size ||
            row.intAt(2) != stamp->changed || static_cast<std::uint64_t>(row.intAt(3)) != stamp->identity ||
            static_cast<std::size_t>(row.intAt(4)) != count)
            return;
        // Taken only when all of it reads well.
        std::vector<GameKeys> loadedKeys(count);
        std::vector<InputHash::Digest> loadedDigests(count);
        Reader reader(row.textViewAt(5));
        for (std::size_t i = 0; i < count; ++i)
            reader.next(loadedKeys[i], loadedDigests[i]);
        if (!reader.done())
            throw std::runtime_error("the digests go on");
        keys = std::move(loadedKeys);
        digests_ = std::move(loadedDigests);
        kept = true;
    });
    if (kept) {
        for (std::size_t i = 0; i < count; ++i)
            read(static_cast<std::int64_t>(i) + 1, keys[i]);
        return;
    }
    readTable(games, keys, read);
    if (!stamp || !settled(*stamp))
        return;
    Writer writer;
    for (std::size_t i = 0; i < count; ++i)
        writer.add(keys[i], digests_[i]);
    cache.write([&](sqlite::Database& db) {
        db.exec("DELETE FROM games");
        sqlite::Statement put(db, "INSERT INTO games VALUES(?, ?, ?, ?, ?, ?)");
        put.bindTextInPlace(1, kProgram);
        put.bindInt(2, static_cast<std::int64_t>(stamp->size));
        put.bindInt(3, stamp->changed);
        put.bindInt(4, static_cast<std::int64_t>(stamp->identity));
        put.bindInt(5, static_cast<std::int64_t>(count));
        put.bindTextInPlace(6, writer.bytes());
        put.run();
    });
}

void GameDigests::readTable(store::Table& games, std::vector<GameKeys>& keys,
                            const std::function<void(std::int64_t position, const GameKeys& keys)>& read) {
    std::vector<store::FieldKey> names;
    for (const auto& [name, member] : gameTextFields())
        names.push_back(name);
    const GameKeyReader keyReader(games, names);
    keys.clear();
    keys.reserve(static_cast<std::size_t>(games.recordCount()));
    digests_.clear();
    digests_.reserve(keys.capacity());
    InputHash hash;
    games.forEachStoredRecord(names, [&](std::size_t position, std::span<const std::string_view> stored) {
        keyReader.read(stored, keys.emplace_back());
        read(static_cast<std::int64_t>(position) + 1, keys.back());
        hash.clear();
        for (const std::string_view field : stored)
            hash.add(field);
        digests_.push_back(hash.digest());
    });
}

const InputHash::Digest& GameDigests::at(std::int64_t position) const {
    return digests_.at(static_cast<std::size_t>(position - 1));
}

} // namespace gamarium::pages
