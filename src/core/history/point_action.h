#pragma once

#include <string>

namespace gamarium::history {

// How a point's action (Point::what, as point.txt keeps it) is shown to the
// user, in Russian whichever front end took the point: the command line
// keeps its own words ("renumber", "dat /path/a.dat", "merge list.txt"),
// which become "Ренумерация", "Импорт DAT: a.dat", "Слияние списка:
// list.txt"; a window's action ("Ренумерация (1->100)") is already words
// for the user and is shown as it is, as is anything not known (UTF-8).
std::string describeAction(const std::string& what);

} // namespace gamarium::history
