#pragma once

#include "core/files/files.h"

#include <string_view>
#include <utility>
#include <vector>

namespace gamarium::store {

// The files of the old Paradox tables of a base, kept whole in a dated
// folder base/paradox/<name>-<date and time>/ before new tables take their
// names. Each file gets its second name there first (a hard link, or a
// copy where the file system has none), so that at every moment the old
// table or the new one stands under the table's name; the old names go
// only once the new tables are in place. Nothing is deleted.
class ParadoxFilesAside {
public:
    // Keeps every file of the given tables (.db, .mb and their side files)
    // in a new dated folder. Throws Error, with nothing kept, on failure.
    ParadoxFilesAside(const files::Path& basesFolder, std::string_view base, const std::vector<files::Path>& tables);
    // Without finish(), the folder goes again: the old files stayed in place.
    ~ParadoxFilesAside();
    ParadoxFilesAside(const ParadoxFilesAside&) = delete;
    ParadoxFilesAside& operator=(const ParadoxFilesAside&) = delete;

    const files::Path& folder() const { return folder_; }
    // Each old file with its place in the folder.
    std::vector<std::pair<files::Path, files::Path>> moves() const;

    // Puts an old table back under its name, in place of a new table that
    // had already taken it. False when that fails (the old file stays here).
    bool restore(const files::Path& table);

    // The new tables are in place: the old files' other names in the base
    // folder (memo and side files) go; their only names are now here.
    void finish();

private:
    files::Path folder_;
    std::vector<files::Path> kept_;   // the old names, in the base folder
    std::vector<files::Path> tables_; // the .db files among them, replaced by new tables
    bool finished_ = false;
};

// Where files set aside wait, each time in a folder of its own:
// base/<parent>/<base name>-<date and time>/ (Windows-1251 names). "paradox"
// holds old Paradox tables, "damaged" table files that could not be read
// as the program's.
inline constexpr std::string_view kParadoxFolder = "paradox";
inline constexpr std::string_view kDamagedFolder = "damaged";
// The folder's name, one no folder has yet, even within the same second;
// made when `make`.
files::Path datedFolder(const files::Path& basesFolder, std::string_view parent, std::string_view base, bool make);

// The files of a Paradox table in its folder, any letter case: the table
// (.db), its memo file (.mb), index (.px), view (.tv), family (.fam),
// validity checks (.val) and secondary indexes (.Xnn, .Ynn, nn two
// hexadecimal digits). The table, memo and index files count only when
// they begin as such files do; a user's Old.xls stays out.
std::vector<files::Path> paradoxTableFiles(const files::Path& table);

} // namespace gamarium::store
