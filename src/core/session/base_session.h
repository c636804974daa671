#pragma once

#include "core/files/files.h"
#include "core/store/table.h"

#include <memory>
#include <string>
#include <string_view>

namespace gamarium::session {

enum class BaseTable { Games, Patches };

// One table of a base opened alone, named as the session names it: for
// what must work while the other table is missing or damaged (exporting
// what is left of a base, importing into one table).
std::unique_ptr<store::Table> openBaseTable(const files::Path& home, const std::string& base, BaseTable which);

// One base being worked on: the program folder, the base's name, its game
// and patch tables held open, and the root of its pictures. The windows
// and the command line open a base through here and nowhere else; the
// tables close when the session ends, dropping a change not yet posted.
class BaseSession {
public:
    // Opens both tables of `base` (Windows-1251) in `home`. The tables are
    // named by the lower-cased base name; the pictures keep the name as
    // given. A table that cannot be opened fails with its error, and then
    // neither is held.
    BaseSession(files::Path home, std::string base);
    BaseSession(const BaseSession&) = delete;
    BaseSession& operator=(const BaseSession&) = delete;

    const files::Path& home() const { return home_; }
    const std::string& baseName() const { return base_; }
    store::Table& games() { return games_; }
    store::Table& patches() { return patches_; }

    // images/<base>/ of the program folder, found whatever the letter case.
    files::Path pictureRoot() const;
    // The picture folder of a game: the root and its Sid, found whatever
    // the letter case.
    files::Path pictureFolder(std::string_view sid) const;

private:
    files::Path home_;
    std::string base_;
    store::Table games_;
    store::Table patches_;
};

} // namespace gamarium::session
