#include "pages/page_set.h"

#include "pages/game_record.h"
#include "pages/page_list.h"
#include "store/table.h"
#include "text/cp1251.h"

#include <unordered_map>

namespace gamarium::pages {

void p_let(store::Table& games, store::Table& patches, std::int64_t position, PageSet& ru, PageSet& dejap) {
    const store::Field& patch = games.fieldByName("Patch");
    if (patch.isNull())
        return;
    PageSet& set = isRussian(readPatch(patches, patch.asInteger()).language) ? ru : dejap;
    set.games.push_back(position);
}

SiteSets groupGames(store::Table& games, store::Table& patches) {
    SiteSets sets;
    std::unordered_map<std::string, std::size_t> groupOfKey;
    std::int64_t position = 0;
    for (games.first(); !games.eof(); games.next()) {
        ++position;
        p_let(games, patches, position, sets.ru, sets.dejap);
        std::string key = text::lower(games.fieldByName("Sid").asString());
        const auto [group, added] = groupOfKey.try_emplace(key, sets.letters.size());
        if (added) {
            sets.letterlist += letterlistEntry(key);
            sets.letters.push_back({std::move(key), {}});
        }
        sets.letters[group->second].games.push_back(position);
    }
    return sets;
}

} // namespace gamarium::pages
