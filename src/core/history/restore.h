#pragma once

#include "core/history/point_store.h"

#include <string>
#include <vector>

// Putting a restore point back: both tables as the point holds them, and
// the picture journals of the commands after it taken back, newest first.
namespace gamarium::history {

struct RestoreReport {
    std::vector<std::string> lines; // what was (or would be) done, UTF-8
    bool complete = true;           // false when a file could not be put back
};

// What restoring `target` would do now, changing nothing.
RestoreReport planRestore(const PointStore& points, const Point& target);

// The first half of a restore, after the restore's own point `own` was
// taken: a copy of each of the point's tables beside the live one, handed
// to the disk, then a note of what is to be done. Once the note is written
// the restore is carried to its end, by finishRestore now or at the next
// open of the base if this run is killed. The caller holds the base's
// tables and the points' lock (store::BaseFolderLock on points.folder()).
void prepareRestore(const PointStore& points, const Point& target, const Point& own);

// Removes the copies of tables that a restore killed before its note left
// beside the base's tables. Only while the base's tables are held: then no
// restore of the base is preparing them.
void removeLeftoverCopies(const PointStore& points);

// Whether a restore of the base was left unfinished.
bool restorePending(const PointStore& points);

// Carries out the note, if there is one: the prepared copies take the
// tables' places (a table the point did not have goes), the journals of
// the commands after the point are taken back, and the note goes. Every
// step may be done again after a kill. The tables must be closed and the
// points' lock held.
RestoreReport finishRestore(const PointStore& points);

} // namespace gamarium::history
