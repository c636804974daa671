#pragma once

#include "core/pages/game_record.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The sets of pages of a site: one for every letter group of the game
// table, then the games with a Russian translation ("ru") and the games
// with any other patch ("dejap").
namespace gamarium::pages {

struct PageSet {
    enum class Kind { Letter, Russian, OtherPatches };
    std::string key;                   // names the pages: key, key2, ...
    std::vector<std::int64_t> games;   // 1-based positions in the game table
    Kind kind = Kind::Letter;
};

struct SiteSets {
    std::vector<PageSet> letters; // in the order their keys first appear
    PageSet ru{"ru", {}, PageSet::Kind::Russian};
    PageSet dejap{"dejap", {}, PageSet::Kind::OtherPatches};
    std::string letterlist;
};

// A set always has one page more than it fills, so a set whose games fill
// their pages exactly ends with a page of head and foot only.
int pageCount(const PageSet& set, int gamesPerPage);

// Page names of different sets can meet: page 2 of "a" is "a2", the page of
// the group "a2", and a group may be keyed "ru". The first page file that
// two of `sets` would write, compared as the file system finds files
// (whatever the letter case), as a message naming the page and both sets;
// nothing when every page has a file of its own.
std::optional<std::string> pageNameClash(const std::vector<const PageSet*>& sets, int gamesPerPage);

// If `game` (at `position`) has a patch, adds the position to `ru` or
// `dejap` by the patch's language code.
void p_let(const GameKeys& game, const std::vector<PatchRecord>& patches, std::int64_t position, PageSet& ru,
           PageSet& dejap);

// The grouping pass over the games in table order. A letter group's key is
// the lower-cased Sid; games with the same key belong to one group even
// where other games stand between them.
SiteSets groupGames(const std::vector<GameKeys>& games, const std::vector<PatchRecord>& patches);

} // namespace gamarium::pages
