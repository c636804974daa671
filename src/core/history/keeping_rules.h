#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <vector>

// How many restore points a base keeps.
namespace gamarium::history {

struct KeepingRules {
    int points = 30;     // the last so many are kept, however old
    int days = 7;        // and every point younger than this
    int sizeFactor = 20; // within this many times the size of the base's tables
};

// The rules of a program folder: its settings file (settings.ini in the
// folder of the points, `history` beside the tables) with lines
// "points=30", "days=7", "size=20", each optional; empty lines and lines
// beginning with ";" or "#" are passed over. No file gives the defaults; a
// line that is none of these is refused (Error) naming the file and line.
KeepingRules readKeepingRules(const files::Path& settingsFile);

struct KeptPoint {
    int id = 0;
    std::int64_t time = 0;         // seconds since 1970
    std::uintmax_t size = 0;       // everything the point holds
    std::uintmax_t tablesSize = 0; // the base's table files when it was taken
};

struct RemovedPoints {
    std::vector<int> old;     // beyond the last `points` and older than `days`
    std::vector<int> oversize; // the oldest of the rest, while they were too big
    std::uintmax_t limit = 0; // the size the rest had to keep within
};

// The points (ids) that go: those beyond the last `points` that are older
// than `days`; then, while the rest together exceed `sizeFactor` times the
// size of the base's tables, the oldest. The size of the tables counts as
// the largest of `tablesSize` now and of the tables any kept point was
// taken of, so that a base replaced by an empty one keeps the point that
// holds its old tables. The newest point always stays.
RemovedPoints pointsToRemove(std::vector<KeptPoint> points, std::uintmax_t tablesSize, const KeepingRules& rules,
                                std::int64_t now);

} // namespace gamarium::history
