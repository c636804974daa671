#pragma once

#include "core/files/files.h"
#include "core/tools/status.h"

#include <string_view>

namespace gamarium::store {
class Table;
}

// The three checks of the whole game table. They only read; each walks the
// table from the first record, leaves the cursor on the last and ends its
// report with "Проверка закончена!".
namespace gamarium::tools {

// The order of names that the name check expects, on names whose Latin
// letters are lower-cased (text::lowerLatin): by byte codes, a name that
// begins the other being the smaller.
bool sortsBefore(std::string_view a, std::string_view b);

// Neighbouring names out of alphabetical order (Latin letters compared
// without case, every other byte by its code): "previous\rcurrent".
void checkNames(store::Table& games, const StatusSink& report, const Progress& progress = {});

// Picture references whose file is missing from the game's picture folder
// under `pictureRoot` (images/<base>): "NAME POSITION".
void checkPictures(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                   const Progress& progress = {});

// Picture references whose first letter differs from the game name's (the
// code page's lower case): "NAME POSITION".
void checkPictureNames(store::Table& games, const StatusSink& report, const Progress& progress = {});

} // namespace gamarium::tools
