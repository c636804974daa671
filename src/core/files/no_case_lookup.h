#pragma once

#include "files/files.h"

#include <map>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace gamarium::files {

// findNoCase for work that looks up many names in a few folders (a check
// over every game's pictures, the pages of a site): each folder is listed
// once, so a name that is missing costs no new listing. Entries made or
// removed after a folder was listed are not seen.
class NoCaseLookup {
public:
    // The same answer as findNoCase(folder, name).
    Path find(const Path& folder, std::string_view name);

private:
    struct Listing {
        std::unordered_set<std::string> exact;            // names as they are
        std::unordered_map<std::string, Path> byFoldedName; // the first entry of each name in upper case
    };
    const Listing& listing(const Path& folder);

    std::map<Path, Listing> folders_;
};

} // namespace gamarium::files
