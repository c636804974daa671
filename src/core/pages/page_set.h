#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace gamarium::store {
class Table;
}

// The sets of pages of a site: one for every letter group of the game
// table, then the games with a Russian translation ("ru") and the games
// with any other patch ("dejap").
namespace gamarium::pages {

struct PageSet {
    std::string key;                   // names the pages: key, key2, ...
    std::vector<std::int64_t> games;   // 1-based positions in the game table
};

struct SiteSets {
    std::vector<PageSet> letters; // in the order their keys first appear
    PageSet ru{"ru", {}};
    PageSet dejap{"dejap", {}};
    std::string letterlist;
};

// If the game at `position` (the game table's current record) has a patch,
// adds the position to `ru` or `dejap` by the patch's language code.
// Moves the patch table to that patch.
void p_let(store::Table& games, store::Table& patches, std::int64_t position, PageSet& ru, PageSet& dejap);

// Reads the game table once from its first record. A letter group's key is
// the lower-cased Sid; games with the same key belong to one group even
// where other games stand between them. The cursor ends past the last game.
SiteSets groupGames(store::Table& games, store::Table& patches);

} // namespace gamarium::pages
