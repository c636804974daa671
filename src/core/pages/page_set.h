#pragma once

#include "pages/game_record.h"

#include <cstdint>
#include <string>
#include <vector>

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

// If `game` (at `position`) has a patch, adds the position to `ru` or
// `dejap` by the patch's language code.
void p_let(const GameRecord& game, const std::vector<PatchRecord>& patches, std::int64_t position, PageSet& ru,
           PageSet& dejap);

// The grouping pass over the games in table order. A letter group's key is
// the lower-cased Sid; games with the same key belong to one group even
// where other games stand between them.
SiteSets groupGames(const std::vector<GameRecord>& games, const std::vector<PatchRecord>& patches);

} // namespace gamarium::pages
