#pragma once

#include "core/files/files.h"
#include "core/pages/game_record.h"
#include "core/pages/input_hash.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

namespace gamarium::store {
class Table;
}

namespace gamarium::pages {

// A digest of the fields a page shows of every game, as the table file
// keeps them, read in one pass with every game's keys. A game's texts are a
// fixed function of these bytes, so its digest stands for them in a digest
// of what goes into a page; only the games of pages that are made are read
// whole.
//
// The keys and digests are kept in the program's cache folder
// (cache/<base>.digests, a KeptTable): while the table's file stands as it
// was, the table is not read again.
class GameDigests {
public:
    // The games of `base`, whose caches are kept under `home`. `keys` gets
    // every game's keys, each handed to `read` as it comes (position
    // from 1).
    GameDigests(store::Table& games, const files::Path& home, std::string_view base, std::vector<GameKeys>& keys,
                const std::function<void(std::int64_t position, const GameKeys& keys)>& read);

    // The digest of the game at the 1-based `position`.
    const InputHash::Digest& at(std::int64_t position) const;

private:
    void readTable(store::Table& games, std::vector<GameKeys>& keys,
                   const std::function<void(std::int64_t position, const GameKeys& keys)>& read);

    std::vector<InputHash::Digest> digests_; // by position - 1
};

// The keys of every game of `base` (readGameKeys), as they were kept when
// the table stands as it was read.
std::vector<GameKeys> gameKeysOf(store::Table& games, const files::Path& home, std::string_view base);

// The file that keeps the game digests of `base`.
files::Path gameDigestsFile(const files::Path& home, std::string_view base);

} // namespace gamarium::pages
