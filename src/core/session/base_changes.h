#pragma once

#include "core/files/files.h"
#include "core/store/base_conversion.h"

#include <string>
#include <vector>

// The changes of a base as a whole that work on its table files rather than
// through an open session, each taking its restore point first. The command
// line and the windows call these, never the store's functions below them.
// Base names are Windows-1251; `what` names the point (the command's own
// words or the window's action, UTF-8).
namespace gamarium::session {

// Creates the base: its two empty tables, its picture folder images/<name>,
// and bases.ini listing `listed` (the bases the caller shows, in its order,
// without an earlier entry of the same name, letter case aside) and the new
// base last. An existing base is refused unless `replace`; its old tables
// then go into a restore point first (old Paradox tables are moved aside,
// and the point's journal says where). Returns the base's name as its game
// table file has it.
std::string createBase(const files::Path& home, const std::string& base, bool replace, std::vector<std::string> listed,
                       const std::string& what);

// Empties both tables of the base, both held and put in a restore point
// first.
void emptyBase(const files::Path& home, const std::string& base, const std::string& what);

// Converts the base's old Paradox tables into the program's own
// (store/base_conversion.h). The restore point holds the base's other
// table when it is one of the program's (held meanwhile), and its journal
// where the old files went, so that restoring it brings the old tables back.
store::BaseConversion convertBase(const files::Path& home, const std::string& base, const std::string& what);

} // namespace gamarium::session
