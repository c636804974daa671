#include "core/editor/next_game.h"

#include "core/store/table.h"

namespace gamarium::editor {

void appendNextGame(store::Table& games) {
    games.edit();
    games.post();
    games.last();
    const std::int64_t n = games.fieldByName("N").asInteger();
    const std::string sid = games.fieldByName("Sid").asString();
    const std::string region = games.fieldByName("Region").asString();
    games.append();
    games.fieldByName("Sid").setAsString(sid);
    games.fieldByName("N").setAsInteger(n + 1);
    games.fieldByName("Region").setAsString(region);
    games.fieldByName("Ngamers").setAsString("1");
}

} // namespace gamarium::editor
