#pragma once

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

// Wrong words on the command line: the run prints the usage text and exits 2.
struct UsageError {};

// What one command gets: the program folder, its own words and options as
// the command line gave them (UTF-8), and the two streams it writes to.
struct Invocation {
    files::Path home;
    std::vector<std::string> words;
    std::set<std::string> flags;
    std::map<std::string, std::vector<std::string>> values;
    std::ostream& out;
    std::ostream& err;

    bool flag(const std::string& option) const { return flags.count(option) != 0; }
    std::optional<std::string> value(const std::string& option) const;
    // Every value of an option that repeats, in the order given.
    std::vector<std::string> valuesOf(const std::string& option) const;

    // Lines the window adds to its status memo (Windows-1251), as the
    // terminal shows them: control characters escaped.
    void status(const std::string& cp1251) const;
    // A file name from the command line, kept as the system's own bytes.
    files::Path path(const std::string& utf8) const;
    // The base named on the command line, opened as the editor opens it: its
    // name checked, both tables held, its pictures found.
    std::unique_ptr<session::BaseSession> openBase(const std::string& base) const;
    // One table of it alone, for what must work while the other is missing or damaged.
    std::unique_ptr<store::Table> openTable(const std::string& base, session::BaseTable which) const;
};

// Larger text files (CSV, game lists) are refused rather than read into memory.
inline constexpr std::size_t kLargestTextFile = std::size_t{512} << 20;

} // namespace gamarium::cli
