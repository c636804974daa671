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

// Refuses (Error) a restore to `target` that could not be carried to its
// end: the point damaged or of another table layout (PointStore::verify),
// or a journal it would take back that cannot be read. Before anything
// changes, dry run or not.
void checkRestore(const PointStore& points, const Point& target);

// What restoring `target` would do now, changing nothing: `own` is the
// point the restore would take first (which tables the session holds).
RestoreReport planRestore(const PointStore& points, const Point& target, const Point& own);

// The first half of a restore, after the restore's own point `own` was
// taken: each of the point's tables beside the live one, handed to the disk
// (a second name of the point's file, or a copy), then a note of what is to
// be done. Once the note is written
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

// Carries out the note, if there is one: a table the point did not have
// goes, the journals of the commands after the point are taken back (one
// that cannot be read is reported, not stopped at), the prepared copies
// take the tables' places (the point keeping a copy of its own), and the
// note goes. A file standing at a table's
// name that the session did not hold is never overwritten: an old Paradox
// table is set aside with all its files into base/paradox/, anything else
// into base/damaged/, each move told to the own point's journal. Every step
// may be done again after a kill. The tables must be closed and the points'
// lock held.
RestoreReport finishRestore(const PointStore& points);

} // namespace gamarium::history
