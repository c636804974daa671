#pragma once

#include "core/files/files.h"
#include "core/tools/status.h"

namespace gamarium::store {
class Table;
}

namespace gamarium::tools {

// Copies a regular file whole and gives the copy the source's last-write
// time; the one copy of the program's files. The copy is written beside the
// target and put in its place only when whole, and a target that is the
// source itself (through a link) is refused before anything is written.
// Fails with "Cannot open file %s", "Cannot create file %s" or the write
// error naming the target.
void copydated(const files::Path& source, const files::Path& target);

// The reduced picture set: each game's first picture copied to
// light/<Sid>/ under `pictureRoot` (images/<base>). A missing picture, and
// a Sid or picture name that is no plain name of a folder's entry, are
// reported and passed over; a file that cannot be copied ends the tool with
// its error, the copies made before it staying.
void makeLightSet(store::Table& games, const files::Path& pictureRoot, const StatusSink& report,
                  const Progress& progress = {});

} // namespace gamarium::tools
