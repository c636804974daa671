#pragma once

#include "files/files.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace gamarium::files {

// One folder listed once, to find many names in it as findNoCase does
// without listing the folder again for each name. Entries the caller makes
// are told with add(); others made after the listing are not seen.
class NoCaseFolder {
public:
    explicit NoCaseFolder(Path folder);

    const Path& path() const { return folder_; }
    // The exact name if it was listed, else a listed entry whose name differs
    // only in letter case, else folder/name.
    Path find(std::string_view name) const;
    // Whether `name` was listed or told, in any letter case.
    bool holds(std::string_view name) const;
    // `name` (Windows-1251) now exists in the folder under exactly that name.
    void add(std::string_view name);

private:
    Path folder_;
    std::unordered_set<std::string> exact_;             // names as listed
    std::unordered_map<std::string, Path> byUpperCase_; // upper-cased name: the first entry listed
};

} // namespace gamarium::files
