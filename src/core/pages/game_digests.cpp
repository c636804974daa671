#include "core/pages/game_digests.h"

#include "core/files/system.h"
#include "core/pages/cache_file.h"
#include "core/store/sqlite.h"
#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <xxhash.h>

#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace gamarium::pages {
namespace {

// The file begins with this, then the program that wrote it, the stamp of
// the table file, the number of games, a digest of the rest, and the rest:
// the games' keys and digests.
constexpr std::string_view kMagic = "GDG1";

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
        for (const std::string* value : {&game.sid, &game.image1, &game.analog}) {
            number(static_cast<std::uint32_t>(value->size()));
            text(*value);
        }
        number(game.patchPosition);
        number(game.ratingValue);
        bytes_ += static_cast<char>(game.hasPatch ? 1 : 0);
        bytes_.append(reinterpret_cast<const char*>(digest.data()), digest.size());
    }
    template <typename Number>
    void number(Number value) {
        bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
    }
    void text(std::string_view value) { bytes_ += value; }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}
    void next(GameKeys& game, InputHash::Digest& digest) {
        for (std::string* value : {&game.sid, &game.image1, &game.analog})
            *value = text(number<std::uint32_t>());
        game.patchPosition = number<std::int64_t>();
        game.ratingValue = number<std::int64_t>();
        game.hasPatch = text(1) != std::string_view("\0", 1);
        const std::string_view stored = text(digest.size());
        std::memcpy(digest.data(), stored.data(), digest.size());
    }
    std::string_view rest() const { return rest_; }
    std::string_view text(std::size_t size) {
        if (rest_.size() < size)
            throw std::runtime_error("the kept digests end too soon");
        const std::string_view taken = rest_.substr(0, size);
        rest_.remove_prefix(size);
        return taken;
    }
    template <typename Number>
    Number number() {
        Number value;
        std::memcpy(&value, text(sizeof value).data(), sizeof value);
        return value;
    }

private:
    std::string_view rest_;
};


struct Kept {
    std::vector<GameKeys> keys;
    std::vector<InputHash::Digest> digests;
};

std::uint64_t checksum(std::string_view bytes) {
    return XXH3_64bits(bytes.data(), bytes.size());
}

// The keys and digests kept in `file`, when they were read from the table
// file as it stands (`stamp`) and hold `count` games. A plain file, read
// whole at once: the keys are a few bytes per game, and a database would
// cost more to open and copy out of than they take to read.
std::optional<Kept> keptIn(const files::Path& file, const std::optional<files::FileStamp>& stamp,
                           std::size_t count) {
    if (!stamp || !files::fileExists(file))
        return std::nullopt;
    try {
        const std::string bytes = files::readFile(file);
        Reader header(bytes);
        if (header.text(kMagic.size()) != kMagic || header.text(header.number<std::uint32_t>()) != kProgram ||
            header.number<std::uint64_t>() != stamp->size || header.number<std::int64_t>() != stamp->changed ||
            header.number<std::uint64_t>() != stamp->identity || header.number<std::uint64_t>() != count)
            return std::nullopt;
        const auto sum = header.number<std::uint64_t>();
        if (checksum(header.rest()) != sum)
            return std::nullopt;
        Kept kept{std::vector<GameKeys>(count), std::vector<InputHash::Digest>(count)};
        Reader games(header.rest());
        for (std::size_t i = 0; i < count; ++i)
            games.next(kept.keys[i], kept.digests[i]);
        if (!games.rest().empty())
            return std::nullopt;
        return kept;
    } catch (const std::exception&) {
        return std::nullopt; // unreadable or cut short: read the table
    }
}

void keep(const files::Path& file, const files::FileStamp& stamp, const std::vector<GameKeys>& keys,
          const std::vector<InputHash::Digest>& digests) {
    Writer games;
    for (std::size_t i = 0; i < keys.size(); ++i)
        games.add(keys[i], digests[i]);
    Writer header;
    header.text(kMagic);
    header.number(static_cast<std::uint32_t>(kProgram.size()));
    header.text(kProgram);
    header.number(stamp.size);
    header.number(stamp.changed);
    header.number(stamp.identity);
    header.number(static_cast<std::uint64_t>(keys.size()));
    header.number(checksum(games.bytes()));
    try {
        files::makeFolder(file.parent_path());
        files::writeFileReplacing(file, header.bytes() + games.bytes());
    } catch (const std::exception&) {
        // Only the next run is slower.
    }
}

} // namespace

files::Path gameDigestsFile(const files::Path& home, std::string_view base) {
    return cacheFolder(home) / files::toPath(text::StoredText::fromCp1251(text::lower(base) + ".digests"));
}

GameDigests::GameDigests(store::Table& games, const files::Path& home, std::string_view base,
                         std::vector<GameKeys>& keys,
                         const std::function<void(std::int64_t position, const GameKeys& keys)>& read) {
    const std::optional<files::FileStamp> stamp = tableStamp(games);
    const auto count = static_cast<std::size_t>(games.recordCount());
    const files::Path file = gameDigestsFile(home, base);
    if (std::optional<Kept> kept = keptIn(file, stamp, count)) {
        keys = std::move(kept->keys);
        digests_ = std::move(kept->digests);
        for (std::size_t i = 0; i < count; ++i)
            read(static_cast<std::int64_t>(i) + 1, keys[i]);
        return;
    }
    readTable(games, keys, read);
    if (stamp && settled(*stamp))
        keep(file, *stamp, keys, digests_);
}

std::vector<GameKeys> gameKeysOf(store::Table& games, const files::Path& home, std::string_view base) {
    if (std::optional<Kept> kept = keptIn(gameDigestsFile(home, base), tableStamp(games),
                                          static_cast<std::size_t>(games.recordCount())))
        return std::move(kept->keys);
    return readGameKeys(games);
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
