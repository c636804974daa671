#include "core/pages/stored_games.h"

#include "core/store/table.h"
#include "core/text/cp1251.h"

#include <algorithm>
#include <cstring>

namespace gamarium::pages {
namespace {

using Length = std::uint32_t;
constexpr std::size_t kBlockSize = 1 << 20;

} // namespace

StoredGames::StoredGames(store::Table& games, std::vector<GameRecord>& keys,
                         const std::function<void(std::int64_t position, const GameRecord& keys)>& read) {
    std::vector<store::FieldKey> names;
    for (const auto& [name, member] : gameTextFields())
        names.push_back(name);
    const GameKeyReader keyReader(games, names);
    keys.clear();
    keys.reserve(static_cast<std::size_t>(games.recordCount()));
    games_.reserve(keys.capacity());
    games.forEachStoredRecord(names, [&](std::size_t position, std::span<const std::string_view> stored) {
        keyReader.read(stored, keys.emplace_back());
        read(static_cast<std::int64_t>(position) + 1, keys.back());
        std::size_t size = 0;
        for (const std::string_view field : stored)
            size += sizeof(Length) + field.size();
        if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < size)
            blocks_.emplace_back().reserve(std::max(size, kBlockSize));
        std::string& block = blocks_.back();
        const std::size_t start = block.size();
        for (const std::string_view field : stored) {
            const auto length = static_cast<Length>(field.size());
            block.append(reinterpret_cast<const char*>(&length), sizeof length);
            block.append(field);
        }
        games_.push_back(std::string_view(block).substr(start));
    });
}

std::string_view StoredGames::bytes(std::int64_t position) const {
    return games_.at(static_cast<std::size_t>(position - 1));
}

template <typename Visit>
void StoredGames::forEachField(std::int64_t position, Visit visit) const {
    std::string_view rest = bytes(position);
    for (const auto& [name, member] : gameTextFields()) {
        Length length = 0;
        std::memcpy(&length, rest.data(), sizeof length);
        visit(member, rest.substr(sizeof length, length));
        rest.remove_prefix(sizeof length + length);
    }
}

void StoredGames::read(std::int64_t position, GameRecord& record) const {
    forEachField(position, [&](std::string GameRecord::*member, std::string_view stored) {
        record.*member = text::fromUtf8(stored).bytes();
    });
}

std::string StoredGames::text(std::int64_t position, std::string GameRecord::*wanted) const {
    std::string value;
    forEachField(position, [&](std::string GameRecord::*member, std::string_view stored) {
        if (member == wanted)
            value = text::fromUtf8(stored).bytes();
    });
    return value;
}

} // namespace gamarium::pages
