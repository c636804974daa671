#pragma once

#include "core/files/files.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gamarium::store::sqlite {
class Database;
}

// Restore points of a base: copies of both its tables taken before a
// command changes it, each with the journal of the picture files that the
// command then moved or copied. A base's points live beside its tables in
// base/history/<lower-cased base name>/<id>/: games.db, patches.db (plain
// table files, the game and the patch table), point.txt (when, before
// what, how many records) and journal.txt.
namespace gamarium::history {

// Seconds since 1970; tests give a clock of their own.
using Clock = std::function<std::int64_t()>;
std::int64_t systemTime();

// A table as a point has it.
struct TableInPoint {
    enum class Kind {
        Copied,  // its copy is in the point
        None,    // the base had no table of the program there (none, or an old Paradox table)
        LeftOut, // a file stood there that could not be read as a table; a restore leaves it
    };
    Kind kind = Kind::None;
    std::int64_t records = 0;
};

// The picture journal's file in a point's folder.
inline constexpr const char* kJournalName = "journal.txt";

struct Point {
    int id = 0;
    std::int64_t time = 0;
    std::string what; // the command or window action that followed (UTF-8)
    TableInPoint games, patches;
    std::uintmax_t tablesSize = 0; // the base's table files when it was taken
    files::Path folder;

    files::Path gamesFile() const { return folder / "games.db"; }
    files::Path patchesFile() const { return folder / "patches.db"; }
    files::Path journalFile() const { return folder / kJournalName; }
};

// What a point is taken of, for each table: the table held open, or none;
// `unreadable` when a file stands there that could not be held.
struct PointSource {
    store::sqlite::Database* held = nullptr;
    bool unreadable = false;
};

// How a point takes a table from its source.
TableInPoint::Kind kindOf(const PointSource& source);

// "2024-05-01 15:30:12" in local time.
std::string localTimeText(std::int64_t time);

class PointStore {
public:
    // The points of `base` (Windows-1251) in the program folder `home`.
    PointStore(files::Path home, std::string base, Clock clock = systemTime);

    const files::Path& home() const { return home_; }
    const std::string& base() const { return base_; }
    // base/history/<lower-cased base>/, found whatever its letter case.
    const files::Path& folder() const { return folder_; }
    // The game and patch table files of the base.
    files::Path liveGames() const;
    files::Path livePatches() const;

    // The points, oldest first. A folder that is not a whole point is passed over.
    std::vector<Point> points() const;
    // The folders named as points whose description (point.txt) cannot be
    // read, oldest first: left where they are, never taken for a point or
    // given to a new one, their journals still taken back by a restore
    // across them.
    std::vector<int> damagedPoints() const;
    // What is said of a damaged point (UTF-8).
    std::string damagedText(int id) const;
    // The point `id`; an unknown or damaged one is refused (Error).
    Point point(int id) const;
    // The journal of the point `id`, whole or damaged.
    files::Path journalOf(int id) const;

    // Takes a point before `what`: each held table copied as it lies with
    // its journal folded in, its records counted, all of it built under a
    // temporary name and renamed when whole, so that a kill leaves no half
    // point. Throws Error, with nothing left behind, when it cannot.
    Point take(const std::string& what, const PointSource& games, const PointSource& patches);

    // Removes the points the keeping rules (keeping_rules.h) let go; says
    // which went and why (UTF-8 lines, none when none went).
    std::vector<std::string> keepWithinRules() const;

    // Refuses (Error) a point whose table copies are damaged (SQLite's quick
    // check) or of another table layout than the program's.
    void verify(const Point& point) const;

private:
    // Every folder named as a point, oldest first, with its description
    // when it can be read.
    std::vector<std::pair<int, std::optional<Point>>> folders() const;
    std::vector<int> folderIds() const;

    files::Path home_;
    std::string base_;
    Clock clock_;
    files::Path folder_;
};

} // namespace gamarium::history
