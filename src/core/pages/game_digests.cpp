#include "core/pages/game_digests.h"

#include "core/pages/cache_file.h"
#include "core/pages/kept_table.h"
#include "core/store/table.h"

#include <cstring>
#include <optional>
#include <stdexcept>

namespace gamarium::pages {
namespace {

// Per game: its three texts, its two numbers, whether it has a patch, and
// its digest.
constexpr std::string_view kKind = "game keys and digests 1";

void write(KeptWriter& out, const GameKeys& game, const InputHash::Digest& digest) {
    for (const std::string* text : {&game.sid, &game.image1, &game.analog})
        out.text(*text);
    out.number(game.patchPosition);
    out.number(game.ratingValue);
    out.number(static_cast<std::uint8_t>(game.hasPatch));
    out.bytes({reinterpret_cast<const char*>(digest.data()), digest.size()});
}

void read(KeptReader& in, GameKeys& game, InputHash::Digest& digest) {
    for (std::string* text : {&game.sid, &game.image1, &game.analog})
        *text = in.text();
    game.patchPosition = in.number<std::int64_t>();
    game.ratingValue = in.number<std::int64_t>();
    game.hasPatch = in.number<std::uint8_t>() != 0;
    const std::string_view stored = in.bytes(digest.size());
    std::memcpy(digest.data(), stored.data(), digest.size());
}

struct Kept {
    std::vector<GameKeys> keys;
    std::vector<InputHash::Digest> digests;
};

std::optional<Kept> keptFor(const KeptTable& kept, std::size_t count) {
    std::optional<Kept> taken;
    kept.read([&](std::string_view bytes) {
        Kept loaded{std::vector<GameKeys>(count), std::vector<InputHash::Digest>(count)};
        KeptReader in(bytes);
        for (std::size_t i = 0; i < count; ++i)
            read(in, loaded.keys[i], loaded.digests[i]);
        if (!in.done())
            throw std::runtime_error("more games kept than the table holds");
        taken = std::move(loaded);
    });
    return taken;
}

} // namespace

files::Path gameDigestsFile(const files::Path& home, std::string_view base) {
    return baseCacheFile(home, base, ".digests");
}

GameDigests::GameDigests(store::Table& games, const files::Path& home, std::string_view base,
                         std::vector<GameKeys>& keys,
                         const std::function<void(std::int64_t position, const GameKeys& keys)>& read) {
    const KeptTable kept(games, gameDigestsFile(home, base), kKind);
    const auto count = static_cast<std::size_t>(games.recordCount());
    if (std::optional<Kept> taken = keptFor(kept, count)) {
        keys = std::move(taken->keys);
        digests_ = std::move(taken->digests);
        for (std::size_t i = 0; i < count; ++i)
            read(static_cast<std::int64_t>(i) + 1, keys[i]);
        return;
    }
    readTable(games, keys, read);
    if (!kept.mayKeep())
        return;
    KeptWriter out;
    for (std::size_t i = 0; i < count; ++i)
        write(out, keys[i], digests_[i]);
    kept.keep(out.written());
}

std::vector<GameKeys> gameKeysOf(store::Table& games, const files::Path& home, std::string_view base) {
    const KeptTable kept(games, gameDigestsFile(home, base), kKind);
    if (std::optional<Kept> taken = keptFor(kept, static_cast<std::size_t>(games.recordCount())))
        return std::move(taken->keys);
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
