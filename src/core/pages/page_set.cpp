#include "pages/page_set.h"

#include "pages/page_list.h"
#include "text/cp1251.h"

#include <unordered_map>

namespace gamarium::pages {

void p_let(const GameRecord& game, const std::vector<PatchRecord>& patches, std::int64_t position, PageSet& ru,
           PageSet& dejap) {
    if (game.patch.empty())
        return;
    PageSet& set = isRussian(patchAt(patches, game.patchPosition).language) ? ru : dejap;
    set.games.push_back(position);
}

SiteSets groupGames(const std::vector<GameRecord>& games, const std::vector<PatchRecord>& patches) {
    SiteSets sets;
    std::unordered_map<std::string, std::size_t> groupOfKey;
    std::int64_t position = 0;
    for (const GameRecord& game : games) {
        ++position;
        p_let(game, patches, position, sets.ru, sets.dejap);
        std::string key = text::lower(game.sid);
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
