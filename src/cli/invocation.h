#pragma once

#include "cli/option.h"
#include "core/files/files.h"
#include "core/session/base_session.h"

#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace gamarium::cli {

// Wrong words on the command line: the run prints what was wrong, when it
// is known, then the usage text, and exits 2.
struct UsageError {
    std::string reason;
};

// What one command gets: the program folder, its own words and options as
// the command line gave them (UTF-8), and the two streams it writes to.
struct Invocation {
    files::Path home;
    // The command's own words as typed, but the base's name: what its
    // restore point is named ("merge list.txt", "check orphans --move").
    std::string what;
    std::vector<std::string> words;
    std::set<std::string> flags;
    std::map<std::string, std::vector<std::string>> values;
    std::ostream& out;
    std::ostream& err;

    // The base the command table opened for the command.
    std::unique_ptr<session::BaseSession> opened;

    bool isSet(const Option& option) const { return flags.count(std::string(option.name)) != 0; }
    std::optional<std::string> value(const Option& option) const;
    // Every value of an option that repeats, in the order given.
    std::vector<std::string> valuesOf(const Option& option) const;
    // The base the command works on, opened before it ran.
    session::BaseSession& base() const;
    // The table --patches chooses: the patch table or the game table.
    session::BaseTable chosenTable() const;

    // Lines the window adds to its status memo (Windows-1251), as the
    // terminal shows them: control characters escaped.
    void status(const text::StoredText& text) const;
    // A file name from the command line, kept as the system's own bytes.
    files::Path path(const std::string& utf8) const;
};

// The 1-based place of a game in table order, as the command line gives it;
// Error when no game stands there.
int positionArgument(const std::string& word, const store::Table& table);

// Larger text files (CSV, game lists) are refused rather than read into memory.
inline constexpr std::size_t kLargestTextFile = std::size_t{512} << 20;

} // namespace gamarium::cli
