#include "core/pages/page_set.h"

#include "core/pages/page_list.h"
#include "core/text/cp1251.h"

#include <unordered_map>

namespace gamarium::pages {
namespace {

std::string shown(const PageSet& set) {
    const std::string key = "«" + text::toUtf8(text::StoredText::fromCp1251(set.key)) + "»";
    switch (set.kind) {
    case PageSet::Kind::Russian: return "страницы русских переводов " + key;
    case PageSet::Kind::OtherPatches: return "страницы других патчей " + key;
    case PageSet::Kind::Letter: break;
    }
    return "группа " + key;
}

} // namespace

int pageCount(const PageSet& set, int gamesPerPage) {
    return static_cast<int>(set.games.size() / static_cast<std::size_t>(gamesPerPage)) + 1;
}

std::optional<std::string> pageNameClash(const std::vector<const PageSet*>& sets, int gamesPerPage) {
    std::unordered_map<std::string, const PageSet*> writer; // by the file name in capitals
    for (const PageSet* set : sets)
        for (int page = 1; page <= pageCount(*set, gamesPerPage); ++page) {
            const std::string file = pageName(set->key, page) + ".htm";
            const auto [taken, added] = writer.try_emplace(text::upper(file), set);
            if (!added)
                return "Страницу «" + text::toUtf8(text::StoredText::fromCp1251(file)) + "» записали бы и " + shown(*taken->second) + ", и " +
                       shown(*set) + ". Страницы не созданы.";
        }
    return std::nullopt;
}

void p_let(const GameKeys& game, const std::vector<PatchRecord>& patches, std::int64_t position, PageSet& ru,
           PageSet& dejap) {
    if (!game.hasPatch)
        return;
    PageSet& set = isRussian(patchAt(patches, game.patchPosition).language) ? ru : dejap;
    set.games.push_back(position);
}

SiteSets groupGames(const std::vector<GameKeys>& games, const std::vector<PatchRecord>& patches) {
    SiteSets sets;
    std::unordered_map<std::string, std::size_t> groupOfKey;
    std::int64_t position = 0;
    for (const GameKeys& game : games) {
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
