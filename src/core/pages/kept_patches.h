#pragma once

#include "core/files/files.h"
#include "core/pages/game_record.h"

#include <string_view>
#include <vector>

namespace gamarium::store {
class Table;
}

namespace gamarium::pages {

// Every patch of `base` (readPatches), kept in the program's cache folder
// (cache/<base>.patches, a KeptTable): while the patch table's file stands
// as it was, the table is not read again.
std::vector<PatchRecord> patchesOf(store::Table& patches, const files::Path& home, std::string_view base);

} // namespace gamarium::pages
