#pragma once

#include "files/files.h"
#include "tools/status.h"

namespace gamarium::store {
class Table;
}

namespace gamarium::tools {

// Copies a file whole and gives the copy the source's last-write time.
// Fails with "Cannot open file %s" or "Cannot create file %s".
void copydated(const files::Path& source, const files::Path& target);

// The reduced picture set: each game's first picture copied to
// light/<Sid>/ under `pictureRoot` (images/<base>). A missing picture is
// reported ("Не могу найти NAME") and passed over; a file that cannot be
// copied ends the tool with its error, the copies made before it staying.
void makeLightSet(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                  const Progress& progress = {});

} // namespace gamarium::tools
