#pragma once

#include "core/pages/game_record.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace gamarium::store {
class Table;
}

namespace gamarium::pages {

// The fields a page shows of every game, as the table file keeps them
// (texts in UTF-8), read in one pass and converted only for the games
// whose pages are made: a run over a site that has not changed converts
// nothing but what it tells.
class StoredGames {
public:
    // In the same pass, `keys` gets every game's record as readGameKeys
    // reads it, each handed to `read` as it comes (position from 1).
    StoredGames(store::Table& games, std::vector<GameRecord>& keys,
                const std::function<void(std::int64_t position, const GameRecord& keys)>& read);

    // The stored fields of the game at the 1-based `position`, each after
    // its length. Its texts are a fixed function of these bytes, so they
    // stand for the texts in a digest of what goes into a page.
    std::string_view bytes(std::int64_t position) const;
    // The texts of the game at `position` into `record`, as readGames reads them.
    void read(std::int64_t position, GameRecord& record) const;
    // One text of the game at `position`.
    std::string text(std::int64_t position, std::string GameRecord::*member) const;

private:
    // Calls visit(member, stored) for each field of the game at `position`.
    template <typename Visit>
    void forEachField(std::int64_t position, Visit visit) const;

    // The bytes in blocks that never move once filled: a text that grows
    // by doubling would copy them again and again.
    std::vector<std::string> blocks_;
    std::vector<std::string_view> games_; // in blocks_, by position - 1
};

} // namespace gamarium::pages
