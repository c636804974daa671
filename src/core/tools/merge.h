#pragma once

#include "core/tools/list_file.h"
#include "core/tools/status.h"

namespace gamarium::store {
class Table;
}

// Merging a game list file into the game table.
namespace gamarium::tools {

// Appends a record for every line of the list file at the end of the game
// table, numbered on from the last record's N, and saves every one; the
// first status line says which encoding the list was read in. A file whose
// first line has no ";" is refused before anything is added ("файл не тот.
// Оставь эту затею."). Lines that cannot be a game are passed over and
// reported, each with its line number, after all lines are done. A table
// error ends the merge at that line with a message naming it; the records
// saved before stay. Returns the records added.
int mergeList(store::Table& games, const ListFile& list, const StatusSink& report, const Progress& progress = {});

} // namespace gamarium::tools
