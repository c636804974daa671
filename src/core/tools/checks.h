#pragma once

#include "files/files.h"
#include "tools/status.h"

namespace gamarium::store {
class Table;
}

// The three checks of the whole game table. They only read; each walks the
// table from the first record, leaves the cursor on the last and ends its
// report with "Проверка закончена!".
namespace gamarium::tools {

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
