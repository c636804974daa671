#include "core/editor/next_game.h"

#include "core/store/table.h"

namespace gamarium::editor {

void appendNextGame(store::Table& games) {
    games.edit();
    games.post();
    games.last();
    const std::int64_t n = games.field(store::games::N).asInteger();
    const text::StoredText sid = games.field(store::games::Sid).asString();
    const text::StoredText region = games.field(store::games::Region).asString();
    games.append();
    games.field(store::games::Sid).setAsString(sid);
    games.field(store::games::N).setAsInteger(n + 1);
    games.field(store::games::Region).setAsString(region);
    games.field(store::games::Ngamers).setAsString("1"_stored);
}

} // namespace gamarium::editor
