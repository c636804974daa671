#pragma once

#include "core/find/find_games.h"

#include <vector>

namespace gamarium::store {
class Table;
}

// One search straight through a game table, for a search made once (the
// command line): texts are tested as the table file stores them and only
// a game that may match is read whole, so nothing else is converted or kept.
namespace gamarium::find {

// What findGames over the table's GameTexts finds, described, in the same order.
std::vector<FindResult> findInTable(store::Table& games, const FindQuery& query);

} // namespace gamarium::find
