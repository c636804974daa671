#pragma once

#include "core/files/files.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The bases of a program folder: base/<name>.db (games) and
// base/<name>_patch.db (patches), with pictures under images/<name>/.
// Base names are Windows-1251 texts.
namespace gamarium::store {

namespace sqlite {
class Database;
}

// What a change of a base as a whole tells the restore points, before it
// changes anything: `before`, once the old tables are checked and held
// (nullptr: no table of the program there), and `moving`, for each file of
// an old Paradox table before it is moved aside. The front ends reach
// these changes through the session's use cases (session/base_changes.h),
// which take the point.
struct BaseChangeHooks {
    std::function<void(sqlite::Database* games, sqlite::Database* patches)> before;
    std::function<void(const files::Path& from, const files::Path& to)> moving;
};

// The program folder: GAMARIUM_HOME when set, else the executable's folder
// when it may be written (a portable folder), else Gamarium/ in the user's
// data folder ($XDG_DATA_HOME, by default ~/.local/share), made when missing.
files::Path programFolder(const files::Path& executableFolder);

files::Path basesFolder(const files::Path& home);
files::Path imagesFolder(const files::Path& home);

// The file names of a base's tables. Every command that takes a base name
// comes through here, so the name is checked (validateBaseName) here.
std::string gameTableName(std::string_view base);
std::string patchTableName(std::string_view base);

// Makes images/ and then base/ (one level each, failures passed over).
void prepareFolders(const files::Path& home);

// The bases found in base/, in the order the file system returns them: every
// *.db file whose name does not contain "_patch".
std::vector<std::string> findBases(const files::Path& home);
// The same list; each listed base also gets its folder images/<name> made.
std::vector<std::string> listBases(const files::Path& home);

// A base exists when either of its tables does.
bool baseExists(const files::Path& home, std::string_view base);

// Refuses names that could not be a base here or on Windows: empty, with a
// path separator or a character no file name may hold, a control character,
// a trailing dot or space, a device name (CON, NUL, COM1, ...), "_patch" in
// any letter case, or too long for the longest file name the store makes.
void validateBaseName(std::string_view base);

// Creates the base's two empty tables and removes the store's side files.
// An existing base (either table present) is refused unless
// `replaceExisting`; then both its tables must be tables of the program
// that no one holds, or old Paradox tables, which are moved with their
// files into base/paradox/<name>-<date and time>/; both are replaced.
// All or nothing: a failure leaves the base as it was. Returns the base's name as its game table file has it
// (the existing file's letter case when replacing).
std::string createBase(const files::Path& home, std::string_view base, bool replaceExisting,
                       const BaseChangeHooks& hooks = {});

// Makes the folder images/<name> (one level; failures passed over).
void makePictureFolder(const files::Path& home, std::string_view base);

// Empties both tables of a base, having checked and held both first.
void emptyBase(const files::Path& home, std::string_view base, const BaseChangeHooks& hooks = {});

// Rewrites bases.ini in the program folder: one name a line, CR LF.
void writeBasesList(const files::Path& home, const std::vector<std::string>& names);

} // namespace gamarium::store
