#include "core/tools/renumber.h"

#include "core/store/table.h"

namespace gamarium::tools {

void renumber(store::Table& games) {
    const store::Table::ManyChanges many(games);
    const int position = games.recordNumber();
    games.first();
    const int count = games.recordCount();
    // A game numbered already is not written: a table numbered throughout
    // is left as it is, and takes no restore point.
    for (int i = 1; i <= count; ++i) {
        if (games.field(store::games::N).isNull() || games.field(store::games::N).asInteger() != i) {
            games.edit();
            games.field(store::games::N).setAsInteger(i);
            games.post();
        }
        games.next();
    }
    games.first();
    games.moveBy(position - 1);
}

} // namespace gamarium::tools
